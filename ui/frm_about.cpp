#include "ui/frm_about.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "res/resource.h"
#include "ui/text_fit.h"
#include "ui/window_support.h"
#include "ui/wine_fonts.h"
#include "ui/word_wrap.h"

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

// The help text's steps: the runs of spaces between them. Each step is a line of its own.
std::vector<std::string_view> HelpSteps(std::string_view text) {
    std::vector<std::string_view> steps;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t gap = text.find("  ", start);
        const std::size_t end = gap == std::string_view::npos ? text.size() : gap;
        steps.push_back(text.substr(start, end - start));
        start = text.find_first_not_of(' ', end);
        if (start == std::string_view::npos) {
            break;
        }
    }
    return steps;
}

std::vector<std::string> WrapInWidth(std::string_view text, int width, HFONT font) {
    return WrapWords(text, width, [font](std::string_view s) { return TextWidth(font, s); });
}

std::vector<std::string> LinesOf(int id, std::string_view text, int width, HFONT font) {
    if (id != kIdHelpText) {
        return WrapInWidth(text, width, font);
    }
    std::vector<std::string> lines;
    for (const std::string_view step : HelpSteps(text)) {
        for (std::string& line : WrapInWidth(step, width, font)) {
            lines.push_back(std::move(line));
        }
    }
    return lines;
}

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
    EnsureTahoma();
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
    FitInfoTexts(dpi);
    SetFocus(GetDlgItem(hwnd_, kIdOk));
    return true;
}

// The about text ends above the link and the four help steps stand one per line. With Windows'
// Tahoma both hold as laid out; a wider font is made smaller until they do.
void FrmAbout::FitInfoTexts(Dpi dpi) {
    const auto place = [this](int id) {
        RECT r{};
        GetWindowRect(GetDlgItem(hwnd_, id), &r);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    const RECT about = place(kIdAboutText);
    const RECT site = place(kIdSite);
    const RECT help = place(kIdHelpText);
    aboutFont_.reset(FittedTahoma(FontStyle::kRegular, dpi, [&](HFONT font) {
        const auto lines = LinesOf(kIdAboutText, kAboutText, about.right - about.left, font);
        return static_cast<int>(lines.size()) * LineHeight(font) <= site.top - about.top;
    }));
    helpFont_.reset(FittedTahoma(FontStyle::kRegular, dpi, [&](HFONT font) {
        const auto lines = LinesOf(kIdHelpText, kHelpText, help.right - help.left, font);
        return lines.size() == HelpSteps(kHelpText).size() &&
               static_cast<int>(lines.size()) * LineHeight(font) <= help.bottom - help.top;
    }));
    // A link wider than its label (Wine's bold Tahoma) gets more room on both sides, within
    // the about text's width, and stays centred; its size stays that of a link everywhere.
    const int linkWidth = TextWidth(linkFont_.get(), kSiteAddress) + 2;
    if (linkWidth > site.right - site.left) {
        const int centre = (site.left + site.right) / 2;
        const int left = std::max(static_cast<int>(about.left), centre - linkWidth / 2);
        const int right = std::min(static_cast<int>(about.right), left + linkWidth);
        SetWindowPos(GetDlgItem(hwnd_, kIdSite), nullptr, left, site.top, right - left,
                     site.bottom - site.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SendMessageA(GetDlgItem(hwnd_, kIdAboutText), WM_SETFONT,
                 reinterpret_cast<WPARAM>(aboutFont_.get()), FALSE);
    SendMessageA(GetDlgItem(hwnd_, kIdHelpText), WM_SETFONT,
                 reinterpret_cast<WPARAM>(helpFont_.get()), FALSE);
}

std::vector<std::string> FrmAbout::InfoLines(int id) const {
    HWND label = GetDlgItem(hwnd_, id);
    char text[512] = {};
    GetWindowTextA(label, text, sizeof text);
    RECT r{};
    GetClientRect(label, &r);
    const auto font = reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0));
    return LinesOf(id, text, r.right, font);
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
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    const auto font = reinterpret_cast<HFONT>(SendMessageA(item.hwndItem, WM_GETFONT, 0, 0));
    const HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    int y = item.rcItem.top;
    for (const std::string& line : InfoLines(static_cast<int>(item.CtlID))) {
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
