#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "ui/gdi.h"
#include "ui/window_support.h"

namespace huevane::ui {

enum AboutControlId : int {
    kIdAboutFrame = 200,
    kIdAboutText,
    kIdSite,
    kIdHelpFrame,
    kIdHelpText,
    kIdOk,
};

inline constexpr char kAboutWindowClass[] = "HuevaneAbout";
inline constexpr char kAboutCaption[] = "Information";
inline constexpr char kSiteAddress[] = "www.dresk.example";

struct AboutWindowServices {
    // Hands an address to the shell.
    std::function<void(const std::string&)> openSite;
    // The hidden top-level window that owns this one, which keeps it out of the task bar
    // without tying it to the main window.
    HWND owner = nullptr;
};

// frmAbout: what the program is for, how to use it, and a link to the maker's site.
class FrmAbout {
public:
    explicit FrmAbout(AboutWindowServices services);
    FrmAbout(const FrmAbout&) = delete;
    FrmAbout& operator=(const FrmAbout&) = delete;
    ~FrmAbout();

    // Creates the window if it is not open, shows it modeless and brings it to the front.
    void Show();
    // The open window, or null once it was closed.
    HWND hwnd() const { return hwnd_; }
    // The lines the about text (kIdAboutText) or the help text (kIdHelpText) is drawn in.
    std::vector<std::string> InfoLines(int id) const;

    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static void Form_Initialize();
    bool Create();
    void cmdOK_Click();
    void lblSite_Click() const;

    void OnCommand(int id, int code);
    void DrawInfoText(const DRAWITEMSTRUCT& item);
    LRESULT OnCtlColorStatic(HDC dc, HWND control);

    AboutWindowServices services_;
    HWND hwnd_ = nullptr;
    HCURSOR handCursor_ = nullptr;
    FocusKeeper focus_;
    void FitInfoTexts(Dpi dpi);

    Font font_;
    Font linkFont_;
    Font aboutFont_;
    Font helpFont_;
};

}  // namespace huevane::ui
