#include "ui/frm_main.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <array>

#include "client/install_dir.h"
#include "core/catalogue.h"
#include "core/patch_writer.h"
#include "ui/apply_command.h"
#include "ui/apply_messages.h"
#include "ui/keyboard_swatch.h"
#include "ui/text_fit.h"
#include "ui/window_support.h"
#include "ui/wine_fonts.h"

namespace huevane::ui {
namespace {

constexpr int kClientWidthTwips = 4230;
constexpr int kClientHeightTwips = 2700;
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr COLORREF kHeadingBack = 0x00974C2F;
constexpr COLORREF kHeadingText = 0x00FFFFFF;
constexpr char kSwatchHint[] = "Double-Click to bring up Color Chooser";
constexpr int kComboHeightTwips = 315;
constexpr int kDropDownRows = 16;
// Posted to the main window once it shows: work that nothing on screen needs before then.
constexpr UINT kWmAfterShow = WM_APP + 1;
// Posted by the Apply's thread when its work is done.
constexpr UINT kWmApplyDone = WM_APP + 2;
// Posted by the Apply's thread when it begins to wait for another program to let go of a file.
constexpr UINT kWmApplyWaits = WM_APP + 3;

constexpr DWORD kLabel = SS_LEFT;
constexpr DWORD kHeading = SS_CENTER;
constexpr DWORD kList = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;
constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;

// In tab order, which is also the order of creation.
const std::array<ControlSpec, 11> kControls = {{
    {kIdHeadingVersion, "STATIC", "Select Your AIM Version", kHeading, {120, 120, 2175, 255}},
    {kIdVersions, "COMBOBOX", "", kList, {120, 360, 2175, kComboHeightTwips}},
    {kIdApply, "BUTTON", "Apply Changes", kButton, {2760, 240, 1335, 495}},
    {kIdHeadingProperty, "STATIC", "Select Changed Property", kHeading, {120, 840, 2175, 255}},
    {kIdProperties, "COMBOBOX", "", kList, {120, 1080, 2175, kComboHeightTwips}},
    {kIdHeadingColor, "STATIC", "Select New Color", kHeading, {120, 1560, 2175, 255}},
    {kIdColor, "STATIC", "", SS_NOTIFY | WS_TABSTOP, {120, 1800, 2175, 495}, WS_EX_CLIENTEDGE},
    {kIdColorHint, "STATIC", kSwatchHint, kLabel, {120, 2400, 2895, 375}},
    {kIdHelp, "BUTTON", "About/Help", kButton, {2760, 720, 1335, 375}},
    {kIdStatus, "STATIC", "Idle..", SS_CENTER | SS_NOTIFY, {2640, 1800, 1455, 255}},
    {kIdBackup, "BUTTON", "Make Backup", BS_AUTOCHECKBOX | WS_TABSTOP, {2640, 1320, 1575, 255}},
}};

constexpr std::array<int, 3> kHeadings = {kIdHeadingVersion, kIdHeadingProperty, kIdHeadingColor};

bool IsHeading(int id) {
    return std::find(kHeadings.begin(), kHeadings.end(), id) != kHeadings.end();
}

// A drop-down list's closed height follows its selection field; size the field so the closed
// list is exactly as tall as laid out, and give the open list room for every item.
void FitComboHeight(HWND combo, int heightPixels) {
    const auto closedHeight = [combo] {
        RECT r{};
        GetWindowRect(combo, &r);
        return static_cast<int>(r.bottom - r.top);
    };
    // The frame around the field differs between systems and themes: measure, then correct.
    auto field =
        static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
    for (int attempt = 0; attempt < 3; ++attempt) {
        SendMessageA(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
        const int error = heightPixels - closedHeight();
        if (error == 0) {
            break;
        }
        field += error;
    }
    const auto item = static_cast<int>(SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0));
    RECT place{};
    GetWindowRect(combo, &place);
    SetWindowPos(combo, nullptr, 0, 0, place.right - place.left,
                 heightPixels + item * kDropDownRows + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

FrmMain::FrmMain(MainWindowServices services) : services_(std::move(services)) {
    Form_Initialize();
}

FrmMain::~FrmMain() {
    // The file is never left half done: a closed window still lets a running Apply finish.
    if (applyThread_ != nullptr) {
        WaitForSingleObject(applyThread_, INFINITE);
        CloseHandle(applyThread_);
    }
    services_.files.SetWaitNotice({});  // the file system outlives the window
    about_.reset();
    if (hwnd_ != nullptr) {
        DestroyWindow(hwnd_);
    }
}

void FrmMain::Form_Initialize() {
    InitCommonControls();
}

bool FrmMain::Create(int showCommand) {
    if (!RegisterWindowClass(kMainWindowClass, WindowProcFor<FrmMain>)) {
        return false;
    }
    dpi_ = ScreenDpi();
    const RECT r = CenteredWindowRect(kClientWidthTwips, kClientHeightTwips, kWindowStyle, 0, dpi_);
    CreateWindowExA(0, kMainWindowClass, kMainCaption, kWindowStyle, r.left, r.top,
                    r.right - r.left, r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr),
                    this);
    if (hwnd_ == nullptr) {
        return false;
    }
    // The Apply's thread tells the window, which alone touches its controls.
    services_.files.SetWaitNotice([window = hwnd_] { PostMessageA(window, kWmApplyWaits, 0, 0); });
    if (!CreateControls()) {
        return false;
    }
    Form_Load();
    ShowWindow(hwnd_, showCommand);
    UpdateWindow(hwnd_);
    SetFocus(Control(kIdVersions));
    PostMessageA(hwnd_, kWmAfterShow, 0, 0);
    return true;
}

bool FrmMain::CreateControls() {
    EnsureTahoma();
    font_.reset(CreateTahoma(FontStyle::kRegular, dpi_));
    headingFont_.reset(CreateTahoma(FontStyle::kBold, dpi_));
    headingBrush_.reset(CreateSolidBrush(kHeadingBack));
    swatchBrush_.reset(CreateSolidBrush(swatchColor_));
    const bool created =
        std::all_of(kControls.begin(), kControls.end(), [this](const ControlSpec& control) {
            return CreateControl(hwnd_, control, dpi_) != nullptr;
        });
    if (!created) {
        return false;
    }
    SetFontOfChildren(hwnd_, font_.get());
    FitLabelsToTheirTexts();
    MakeSwatchKeyboardReachable(Control(kIdColor));
    for (const std::string_view text : kVersionTexts) {
        ComboBox_AddString(Control(kIdVersions), std::string(text).c_str());
    }
    for (const std::string_view text : kPropertyTexts) {
        ComboBox_AddString(Control(kIdProperties), std::string(text).c_str());
    }
    const int comboHeight = TwipsToPixels(kComboHeightTwips, dpi_.y);
    FitComboHeight(Control(kIdVersions), comboHeight);
    FitComboHeight(Control(kIdProperties), comboHeight);
    LetHelpButtonCoverApply();
    return true;
}

// Each heading and the hint stay on one line. With Windows' Tahoma they fit as laid out; where
// the system draws a wider font, the hint takes room to its right up to the window's margin,
// and what still does not fit gets a smaller size rather than losing its end.
void FrmMain::FitLabelsToTheirTexts() {
    const auto innerWidth = [this](int id) {
        RECT r{};
        GetClientRect(Control(id), &r);
        return static_cast<int>(r.right);
    };
    const auto text = [this](int id) {
        char buffer[64] = {};
        GetWindowTextA(Control(id), buffer, sizeof buffer);
        return std::string(buffer);
    };
    headingFont_.reset(FittedTahoma(FontStyle::kBold, dpi_, [&](HFONT font) {
        return std::all_of(kHeadings.begin(), kHeadings.end(),
                           [&](int id) { return TextWidth(font, text(id)) <= innerWidth(id); });
    }));
    for (const int id : kHeadings) {
        SetWindowFont(Control(id), headingFont_.get(), FALSE);
    }

    HWND hint = Control(kIdColorHint);
    const int needed = TextWidth(font_.get(), kSwatchHint);
    if (needed > innerWidth(kIdColorHint)) {
        RECT client{};
        GetClientRect(hwnd_, &client);
        RECT place{};
        GetWindowRect(hint, &place);
        MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&place), 2);
        const int widest = static_cast<int>(client.right - 2 * place.left);  // equal margins
        SetWindowPos(hint, nullptr, 0, 0, std::min(needed, widest),
                     static_cast<int>(place.bottom - place.top),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    hintFont_.reset(FittedTahoma(FontStyle::kRegular, dpi_, [&](HFONT font) {
        return TextWidth(font, kSwatchHint) <= innerWidth(kIdColorHint);
    }));
    SetWindowFont(hint, hintFont_.get(), FALSE);
}

void FrmMain::AddToolTips() {
    tip_ = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
    // Long reasons break into lines rather than run across the screen.
    SendMessageA(tip_, TTM_SETMAXTIPWIDTH, 0, TwipsToPixels(4500, dpi_.x));
    for (const int id : {kIdColor, kIdStatus}) {
        TOOLINFOA tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = hwnd_;
        tool.uId = reinterpret_cast<UINT_PTR>(Control(id));
        tool.lpszText = const_cast<char*>(id == kIdColor ? kSwatchHint : statusReason_.c_str());
        SendMessageA(tip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

// The status line keeps its one word; why an Apply failed shows when the mouse rests on it.
void FrmMain::SetStatusReason(const std::string& reason) {
    statusReason_ = reason;
    if (tip_ == nullptr) {
        return;
    }
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(Control(kIdStatus));
    tool.lpszText = const_cast<char*>(statusReason_.c_str());
    SendMessageA(tip_, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
}

// "Apply Changes" comes before "About/Help" in tab order, so it lies above it; where the two
// overlap, cut it away so "About/Help" shows in front.
void FrmMain::LetHelpButtonCoverApply() {
    HWND apply = Control(kIdApply);
    RECT applyRect{};
    RECT helpRect{};
    GetWindowRect(apply, &applyRect);
    GetWindowRect(Control(kIdHelp), &helpRect);
    RECT overlap{};
    if (!IntersectRect(&overlap, &applyRect, &helpRect)) {
        return;
    }
    HRGN visible =
        CreateRectRgn(0, 0, applyRect.right - applyRect.left, applyRect.bottom - applyRect.top);
    HRGN covered = CreateRectRgn(overlap.left - applyRect.left, overlap.top - applyRect.top,
                                 overlap.right - applyRect.left, overlap.bottom - applyRect.top);
    CombineRgn(visible, visible, covered, RGN_DIFF);
    DeleteObject(covered);
    SetWindowRgn(apply, visible, FALSE);  // the window owns the region from here on
}

void FrmMain::Form_Load() {
    const client::RegisteredClient client = client::LookupRegisteredClient(services_.registry);
    strAIMDir_ = client.installDir;
    strAIMExe_ = client.executable;
}

void FrmMain::Form_Unload() {
    about_.reset();
    PostQuitMessage(0);
}

void FrmMain::UpdateBUI(const std::string& strColor, std::int32_t lngSpot) {
    UpdateBuddyUi(services_.files, strAIMDir_, strColor, lngSpot);
}

// The choices are read here; the file work runs on a thread of its own, which may wait up to
// some seconds for another writer of the file, and OnApplyDone shows its outcome.
void FrmMain::cmdApply_Click() {
    if (applyThread_ != nullptr) {
        return;  // one Apply at a time
    }
    applyInputs_ = ApplyInputs{};
    applyInputs_.version = static_cast<std::int16_t>(ComboBox_GetCurSel(Control(kIdVersions)));
    applyInputs_.property = static_cast<std::int16_t>(ComboBox_GetCurSel(Control(kIdProperties)));
    applyInputs_.backupFlag = static_cast<int>(Button_GetCheck(Control(kIdBackup)));
    applyInputs_.color = static_cast<std::int32_t>(swatchColor_);
    applyInputs_.installDir = strAIMDir_;
    applyInputs_.executable = strAIMExe_;
    applyInputs_.programDir = services_.programDir;
    applyWindow_ = hwnd_;
    SetApplyRunning(true);
    applyThread_ = CreateThread(nullptr, 0, ApplyWorker, this, 0, nullptr);
    if (applyThread_ == nullptr) {
        applyResult_ = RunApplyCommand(applyInputs_, services_.files);
        OnApplyDone();
    }
}

DWORD WINAPI FrmMain::ApplyWorker(LPVOID self) {
    auto* window = static_cast<FrmMain*>(self);
    window->applyResult_ = RunApplyCommand(window->applyInputs_, window->services_.files);
    PostMessageA(window->applyWindow_, kWmApplyDone, 0, 0);
    return 0;
}

void FrmMain::OnApplyDone() {
    if (applyThread_ != nullptr) {
        WaitForSingleObject(applyThread_, INFINITE);  // it has posted and is ending
        CloseHandle(applyThread_);
        applyThread_ = nullptr;
    }
    switch (applyResult_.outcome) {
        case ApplyOutcome::kRefused:
            ShowStopMessage(applyResult_.text);
            break;
        case ApplyOutcome::kWrongBuild:
            // Told at once, since the user must choose again; the status line keeps it after.
            ShowStopMessage(applyResult_.reason);
            ShowStatus(applyResult_.text, applyResult_.reason);
            break;
        case ApplyOutcome::kSuccess:
        case ApplyOutcome::kError:
            ShowStatus(applyResult_.text, applyResult_.reason);
            break;
    }
    SetApplyRunning(false);
}

// Another program holds a file the Apply needs; its outcome follows once it lets go or the
// wait ends. A notice that comes after the outcome changes nothing.
void FrmMain::OnApplyWaits() {
    if (applyThread_ != nullptr) {
        ShowStatus(std::string(kWaitingText), std::string(kWaitingReason));
    }
}

void FrmMain::ShowStatus(const std::string& text, const std::string& reason) {
    Static_SetText(Control(kIdStatus), text.c_str());
    SetStatusReason(reason);
}

void FrmMain::ShowStopMessage(const std::string& text) {
    services_.dialogs.MessageBoxDialog(hwnd_, text.c_str(), kApplicationTitle, MB_OK | MB_ICONSTOP);
}

// "Apply Changes" is the one way to start an Apply; it is off while one runs. A keyboard user
// who pressed it keeps the focus in the window meanwhile and gets it back on the button.
void FrmMain::SetApplyRunning(bool running) {
    HWND apply = Control(kIdApply);
    if (running) {
        applyHadFocus_ = GetFocus() == apply;
        if (applyHadFocus_) {
            SetFocus(hwnd_);
        }
        EnableWindow(apply, FALSE);
        return;
    }
    EnableWindow(apply, TRUE);
    if (applyHadFocus_ && (GetFocus() == hwnd_ || GetFocus() == nullptr) &&
        GetActiveWindow() == hwnd_) {
        SetFocus(apply);
    }
    applyHadFocus_ = false;
}

void FrmMain::cmdHELP_Click() {
    if (!about_) {
        about_ = std::make_unique<FrmAbout>(AboutWindowServices{
            services_.openSite, services_.secondaryOwner ? services_.secondaryOwner() : nullptr});
    }
    about_->Show();
}

void FrmMain::lblColor_DblClick() {
    cd_.set_flags(ColorChooser::kOpenWithCurrentColor);
    cd_.set_color(swatchColor_);
    if (!cd_.ShowColor(hwnd_, services_.dialogs)) {
        return;  // cancelled: the swatch keeps its colour
    }
    swatchColor_ = cd_.color();
    swatchBrush_.reset(CreateSolidBrush(swatchColor_));
    InvalidateRect(Control(kIdColor), nullptr, TRUE);
}

void FrmMain::OnCommand(int id, int code) {
    switch (id) {
        case kIdApply:
            if (code == BN_CLICKED) {
                cmdApply_Click();
            }
            break;
        case kIdHelp:
            if (code == BN_CLICKED) {
                cmdHELP_Click();
            }
            break;
        case kIdColor:
            if (code == STN_DBLCLK) {
                lblColor_DblClick();
            }
            break;
        case IDOK:
            PressFocusedButton(hwnd_);  // Enter in a list or on the check box does nothing
            break;
        default:
            break;  // IDCANCEL from Escape does nothing
    }
}

LRESULT FrmMain::OnCtlColorStatic(HDC dc, HWND control) {
    const int id = GetDlgCtrlID(control);
    if (IsHeading(id)) {
        SetTextColor(dc, kHeadingText);
        SetBkColor(dc, kHeadingBack);
        return reinterpret_cast<LRESULT>(headingBrush_.get());
    }
    if (id == kIdColor) {
        SetBkColor(dc, swatchColor_);
        return reinterpret_cast<LRESULT>(swatchBrush_.get());
    }
    return DefWindowProcA(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                          reinterpret_cast<LPARAM>(control));
}

LRESULT FrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CTLCOLORSTATIC:
            return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_ACTIVATE:
            focus_.OnActivate(hwnd_, wParam, Control(kIdVersions));
            return 0;
        case kWmAfterShow:
            AddToolTips();  // they show only when the mouse rests on their control
            return 0;
        case kWmApplyDone:
            OnApplyDone();
            return 0;
        case kWmApplyWaits:
            OnApplyWaits();
            return 0;
        case WM_DESTROY:
            Form_Unload();
            return 0;
        default:
            return DefWindowProcA(hwnd_, message, wParam, lParam);
    }
}

}  // namespace huevane::ui
