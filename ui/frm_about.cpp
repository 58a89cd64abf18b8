#include "ui/frm_about.h"

#include <commctrl.h>

#include <array>

#include "res/resource.h"
#include "ui/word_wrap.h"
#include "ui/window_support.h"

namespace huevane::ui {
namespace {

constexpr int kClientWidthTwips = 3735;
constexpr int kClientHeightTwips = 3180;
constexpr DWORD kWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
constexpr DWORD kWindowExStyle = WS_EX_DLGMODALFRAME;
constexpr COLORREF kLinkColor = 0x00800000;

constexpr char kAboutText[] =
    "This is a program for those of you that want to change the colors in buddyui.ocm but are "
    "too lazy/don't know how to change the colors via hex editor.";
// The runs of spaces push each step onto a line of its own in the label's width.
constexpr char kHelpText[] =
    "1. Pick your AIM Version                            "
    "2. Pick the property you want to change   "
    "3. Pick the new color                                 "
    "4. Press 'Apply Changes'";
static_assert(sizeof kAboutText - 1 == 149);
static_assert(sizeof kHelpText - 1 == 172);

// Frames hold their labels; the labels' places are the frame's place plus their own.
constexpr TwipRect kAboutFrame{120, 120, 3495, 1455};
constexpr TwipRect kHelpFrame{120, 1680, 3495, 1335};

constexpr TwipRect InFrame(const TwipRect& frame, TwipRect inner) {
    return {frame.left + inner.left, frame.top + inner.top, inner.width, inner.height};
}

const std::array<ControlSpec, 6> kControls = {{
    {kIdAboutFrame, "BUTTON", "About", BS_GROUPBOX, kAboutFrame},
    {kIdAboutText, "STATIC", kAboutText, SS_OWNERDRAW, InFrame(kAboutFrame, {120, 240, 3255, 975})},
    {kIdSite, "STATIC", kSiteAddress, SS_CENTER | SS_NOTIFY,
     InFrame(kAboutFrame, {840, 1080, 1695, 255})},
    {kIdHelpFrame, "BUTTON", "Help", BS_GROUPBOX, kHelpFrame},
    {kIdHelpText, "STATIC", kHelpText, SS_OWNERDRAW, InFrame(kHelpFrame, {120, 240, 3015, 855})},
    {kIdOk, "BUTTON", "OK", BS_PUSHBUTTON | WS_TABSTOP, {2400, 2520, 1095, 375}},
}};

}  // namespace

FrmAbout::FrmAbout(AboutWindowServices services)
    : services_(std::move(services)),
      handCursor_(LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_LINK_HAND))) {}

FrmAbout::~FrmAbout() {
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
}

void FrmAbout::Form_Initialize() {
    InitCommonControls();
}

void FrmAbout::Show() {
    if (hwnd_ == nullptr && !Create()) {
        return;
    }
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
    BringWindowToTop(hwnd_);
}

bool FrmAbout::Create() {
    Form_Initialize();
    if (!RegisterWindowClass(kAboutWindowClass, WindowProcFor<FrmAbout>)) {
        return false;
    }
    const Dpi dpi = ScreenDpi();
    const RECT r = CenteredWindowRect(kClientWidthTwips, kClientHeightTwips, kWindowStyle,
                                      kWindowExStyle, dpi);
    CreateWindowExA(kWindowExStyle, kAboutWindowClass, kAboutCaption, kWindowStyle, r.left, r.top,
                    r.right - r.left, r.bottom - r.top, services_.owner, nullptr,
                    GetModuleHandleA(nullptr), this);
    if (hwnd_ == nullptr) {
        return false;
    }
    font_.reset(CreateTahoma(FontStyle::kRegular, dpi));
    linkFont_.reset(CreateTahoma(FontStyle::kBoldUnderlined, dpi));
    // Each control is drawn over the ones before it: the frames under their texts, the link
    // over the about text, the button over the help text. Only the button takes the focus, so
    // this leaves the tab order alone.
    for (const ControlSpec& control : kControls) {
        SetWindowPos(CreateControl(hwnd_, control, dpi), HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    SetFontOfChildren(hwnd_, font_.get());
    SendMessageA(GetDlgItem(hwnd_, kIdSite), WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()),
                 FALSE);
    SetFocus(GetDlgItem(hwnd_, kIdOk));
    return true;
}

void FrmAbout::cmdOK_Click() {
    DestroyWindow(hwnd_);
}

void FrmAbout::lblSite_Click() const {
    if (services_.openSite) {
        services_.openSite(kSiteAddress);
    }
}

void FrmAbout::OnCommand(int id, int code) {
    if (id == kIdOk && code == BN_CLICKED) {
        cmdOK_Click();
    } else if (id == kIdSite && code == STN_CLICKED) {
        lblSite_Click();
    } else if (id == IDOK) {
        PressFocusedButton(hwnd_);
    }
    // IDCANCEL from Escape does nothing.
}

LRESULT FrmAbout::OnCtlColorStatic(HDC dc, HWND control) {
    const LRESULT brush = DefWindowProcA(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(control));
    if (GetDlgCtrlID(control) == kIdSite) {
        SetTextColor(dc, kLinkColor);
    }
    return brush;
}

// The two texts are drawn here rather than by the label, so that they break into lines the
// same way everywhere: Wine's labels break runs of spaces differently from Windows'.
void FrmAbout::DrawInfoText(const DRAWITEMSTRUCT& item) {
    char text[512] = {};
    GetWindowTextA(item.hwndItem, text, sizeof text);
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    const HGDIOBJ oldFont = SelectObject(dc, font_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const auto measure = [dc](std::string_view s) {
        SIZE size{};
        GetTextExtentPoint32A(dc, s.data(), static_cast<int>(s.size()), &size);
        return static_cast<int>(size.cx);
    };
    int y = item.rcItem.top;
    for (const std::string& line : WrapWords(text, item.rcItem.right - item.rcItem.left, measure)) {
        ExtTextOutA(dc, item.rcItem.left, y, ETO_CLIPPED, &item.rcItem, line.data(),
                    static_cast<UINT>(line.size()), nullptr);
        y += metrics.tmHeight;
    }
    SelectObject(dc, oldFont);
}

LRESULT FrmAbout::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_DRAWITEM:
            DrawInfoText(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_CTLCOLORSTATIC:
            return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_ACTIVATE:
            focus_.OnActivate(hwnd_, wParam, GetDlgItem(hwnd_, kIdOk));
            return 0;
        case WM_SETCURSOR:
            if (reinterpret_cast<HWND>(wParam) == GetDlgItem(hwnd_, kIdSite) && handCursor_) {
                SetCursor(handCursor_);
                return TRUE;
            }
            return DefWindowProcA(hwnd_, message, wParam, lParam);
        default:
            return DefWindowProcA(hwnd_, message, wParam, lParam);
    }
}

}  // namespace huevane::ui
