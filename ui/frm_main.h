#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/file_system.h"
#include "platform/registry.h"
#include "ui/apply_command.h"
#include "ui/color_chooser.h"
#include "ui/frm_about.h"
#include "ui/gdi.h"
#include "ui/system_dialogs.h"
#include "ui/window_support.h"

namespace huevane::ui {

// Child control identifiers of the main window. None is IDOK or IDCANCEL, so Enter and Escape
// start no command.
enum MainControlId : int {
    kIdHeadingVersion = 100,
    kIdVersions,
    kIdApply,
    kIdHeadingProperty,
    kIdProperties,
    kIdHeadingColor,
    kIdColor,
    kIdColorHint,
    kIdHelp,
    kIdStatus,
    kIdBackup,
};

inline constexpr char kMainWindowClass[] = "HuevaneMain";
inline constexpr char kMainCaption[] = "Huevane - Dresk";
inline constexpr char kApplicationTitle[] = "Huevane";

// What the main window needs from the rest of the program.
struct MainWindowServices {
    platform::RegistryApi& registry;
    FileSystem& files;
    SystemDialogs& dialogs;
    std::function<void(const std::string&)> openSite;
    std::string programDir;
    // The hidden top-level window that owns the About window, asked for when the About window
    // is first made.
    std::function<HWND()> secondaryOwner;
};

// frmMain: the version and property lists, the colour swatch, the backup box, the two buttons
// and the status line.
class FrmMain {
public:
    explicit FrmMain(MainWindowServices services);
    FrmMain(const FrmMain&) = delete;
    FrmMain& operator=(const FrmMain&) = delete;
    ~FrmMain();

    // Creates the window, runs Form_Load and shows it centred with the focus on the version
    // list. False when Windows refuses to create it.
    bool Create(int showCommand);
    HWND hwnd() const { return hwnd_; }

    // Rewrites buddyui.ocm in the install directory with strColor at the 1-based lngSpot.
    void UpdateBUI(const std::string& strColor, std::int32_t lngSpot);

    const std::string& strAIMDir() const { return strAIMDir_; }
    // True from "Apply Changes" until its outcome is shown.
    bool ApplyRunning() const { return applyThread_ != nullptr; }
    COLORREF SwatchColor() const { return swatchColor_; }
    // The About window, once "About/Help" has been pressed.
    FrmAbout* About() const { return about_.get(); }

    void Attach(HWND hwnd) { hwnd_ = hwnd; }
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static void Form_Initialize();
    bool CreateControls();
    void Form_Load();
    void Form_Unload();
    void cmdApply_Click();
    void cmdHELP_Click();
    void lblColor_DblClick();

    void OnCommand(int id, int code);
    LRESULT OnCtlColorStatic(HDC dc, HWND control);
    void FitLabelsToTheirTexts();
    void AddToolTips();
    void SetStatusReason(const std::string& reason);
    void SetApplyRunning(bool running);
    void OnApplyDone();
    void OnApplyWaits();
    void ShowStatus(const std::string& text, const std::string& reason);
    void ShowStopMessage(const std::string& text);
    static DWORD WINAPI ApplyWorker(LPVOID self);
    void LetHelpButtonCoverApply();
    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }

    MainWindowServices services_;
    HWND hwnd_ = nullptr;
    std::string strAIMDir_;
    std::string strAIMExe_;  // the registered path of the client's executable, or empty
    COLORREF swatchColor_ = RGB(255, 255, 255);
    ColorChooser cd_;
    FocusKeeper focus_;
    Dpi dpi_{};
    Font font_;
    Font headingFont_;
    Font hintFont_;
    HWND tip_ = nullptr;
    std::string statusReason_;
    // The Apply at work on a thread of its own, so the window answers while it waits for
    // another writer of the file; its inputs and result belong to that thread until it posts
    // its message.
    HANDLE applyThread_ = nullptr;
    HWND applyWindow_ = nullptr;
    ApplyInputs applyInputs_;
    ApplyResult applyResult_{ApplyOutcome::kError, {}, {}};
    bool applyHadFocus_ = false;
    Brush headingBrush_;
    Brush swatchBrush_;
    std::unique_ptr<FrmAbout> about_;
};

}  // namespace huevane::ui
