// The main window, driven in this process with window messages as a user's clicks and keys
// would drive it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <array>
#include <functional>
#include <optional>
#include <string>

#include "client/install_dir.h"
#include "core/run_error.h"
#include "platform/native_file_system.h"
#include "platform/registry.h"
#include "tests/faulty_file_system.h"
#include "tests/pe_builder.h"
#include "tests/test_support.h"
#include "tests/ui/gui_support.h"
#include "ui/frm_main.h"

namespace huevane::ui {
namespace {

using test::ClientRectOf;
using test::PressKey;
using test::PumpPending;
using test::ReadFileBytes;
using test::WindowText;
using test::WriteFileBytes;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr char kInUse[] = "buddyui.ocm is in use by another program. Close AIM and try again.";

// A file opened without sharing, as a program that keeps it to itself holds it. Windows checks
// sharing per handle, so a handle of this process stands for another program's.
class UnsharedHandle {
public:
    explicit UnsharedHandle(const std::string& path)
        : h_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    UnsharedHandle(const UnsharedHandle&) = delete;
    UnsharedHandle& operator=(const UnsharedHandle&) = delete;
    ~UnsharedHandle() { CloseHandle(h_); }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE h_;
};

// The width of a control's text on one line in the control's own font.
int TextWidthIn(HWND control) {
    const std::string text = WindowText(control);
    HDC dc = GetDC(control);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return static_cast<int>(size.cx);
}

int InnerWidth(HWND control) {
    RECT r{};
    GetClientRect(control, &r);
    return static_cast<int>(r.right);
}
constexpr COLORREF kWhite = RGB(255, 255, 255);

class MainWindow : public ::testing::Test {
protected:
    // The dialogs the window opens: answered by the test unless a test case says otherwise.
    virtual SystemDialogs& Dialogs() { return dialogs_; }

    void SetUp() override {
        frmMain_ = std::make_unique<FrmMain>(
            MainWindowServices{*registry_, files_, Dialogs(),
                               [this](const std::string& site) { openedSites_.push_back(site); },
                               programDir_, nullptr});
        ASSERT_TRUE(frmMain_->Create(SW_SHOWNORMAL));
        SetForegroundWindow(frmMain_->hwnd());
        PumpPending();
    }
    void TearDown() override { PumpPending(); }

    HWND Control(int id) const { return GetDlgItem(frmMain_->hwnd(), id); }
    void Click(int id) {
        SendMessageA(Control(id), BM_CLICK, 0, 0);
        PumpPending();
        WaitForApply();
    }
    // An Apply works on a thread of its own; this waits until the window shows its outcome.
    void WaitForApply() {
        ASSERT_TRUE(test::PumpUntil([this] { return !frmMain_->ApplyRunning(); }, 20000));
        EXPECT_TRUE(IsWindowEnabled(Control(kIdApply)));
    }
    // Closes the window and opens a new one, which reads the registry afresh.
    void Reopen() {
        frmMain_.reset();
        SetUp();
    }
    // The text of the tool tip that the main window shows over one of its controls.
    std::string ToolTipOf(int id) const {
        HWND tip = nullptr;
        while ((tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) != nullptr &&
               GetWindow(tip, GW_OWNER) != frmMain_->hwnd()) {
        }
        if (tip == nullptr) {
            return "(no tool tip)";
        }
        // The wide form: the narrow one stops at 80 characters in older tool tips.
        wchar_t text[512] = {};
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = frmMain_->hwnd();
        tool.uId = reinterpret_cast<UINT_PTR>(Control(id));
        tool.lpszText = text;
        SendMessageW(tip, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
        std::string ascii;
        for (const wchar_t* c = text; *c != 0; ++c) {
            ascii.push_back(*c < 128 ? static_cast<char>(*c) : '?');
        }
        return ascii;
    }
    void DoubleClickSwatch() {
        SendMessageA(Control(kIdColor), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
        SendMessageA(Control(kIdColor), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        PumpPending();
    }
    void Select(int id, int index) { ComboBox_SetCurSel(Control(id), index); }
    std::string Status() const { return WindowText(Control(kIdStatus)); }

    test::TempDir root_;
    std::string installDir_ = root_.MakeSubdir("AIM");
    std::string programDir_ = root_.MakeSubdir("Huevane");
    test::RegistryValueGuard registered_{std::string(client::kClientKeyPath),
                                         installDir_ + "\\aim.exe"};
    std::unique_ptr<platform::RegistryApi> registry_ = platform::MakeWindowsRegistry();
    std::unique_ptr<FileSystem> native_ = platform::MakeNativeFileSystem();
    // Passes everything on to the real file system unless a test makes a step fail.
    test::FaultyFileSystem files_{*native_};
    test::ScriptedDialogs dialogs_;
    std::vector<std::string> openedSites_;
    std::unique_ptr<FrmMain> frmMain_;
};

TEST_F(MainWindow, StartsIdleWithNothingChosen) {
    EXPECT_EQ(WindowText(frmMain_->hwnd()), "Huevane - Dresk");
    EXPECT_EQ(frmMain_->strAIMDir(), installDir_);
    EXPECT_EQ(Status(), "Idle..");
    EXPECT_EQ(frmMain_->SwatchColor(), kWhite);
    EXPECT_EQ(ComboBox_GetCurSel(Control(kIdVersions)), CB_ERR);
    EXPECT_EQ(ComboBox_GetCurSel(Control(kIdProperties)), CB_ERR);
    EXPECT_EQ(Button_GetCheck(Control(kIdBackup)), BST_UNCHECKED);
    EXPECT_EQ(GetFocus(), Control(kIdVersions));
    EXPECT_EQ(WindowText(Control(kIdHeadingVersion)), "Select Your AIM Version");
    EXPECT_EQ(WindowText(Control(kIdHeadingProperty)), "Select Changed Property");
    EXPECT_EQ(WindowText(Control(kIdHeadingColor)), "Select New Color");
    EXPECT_EQ(WindowText(Control(kIdColorHint)), "Double-Click to bring up Color Chooser");
    EXPECT_EQ(WindowText(Control(kIdApply)), "Apply Changes");
    EXPECT_EQ(WindowText(Control(kIdHelp)), "About/Help");
    EXPECT_EQ(WindowText(Control(kIdBackup)), "Make Backup");
}

TEST_F(MainWindow, ListsHoldTheCatalogueInOrder) {
    HWND versions = Control(kIdVersions);
    ASSERT_EQ(ComboBox_GetCount(versions), 16);
    char text[64] = {};
    ComboBox_GetLBText(versions, 0, text);
    EXPECT_STREQ(text, "5.0.2867");
    ComboBox_GetLBText(versions, 15, text);
    EXPECT_STREQ(text, "5.9.3782 - 5.9.3861");
    HWND properties = Control(kIdProperties);
    ASSERT_EQ(ComboBox_GetCount(properties), 6);
    ComboBox_GetLBText(properties, 5, text);
    EXPECT_STREQ(text, "BG of bottom buttons");
    // Selection only: a drop-down list has no edit field to type into.
    EXPECT_EQ(GetWindowLongA(versions, GWL_STYLE) & 3, CBS_DROPDOWNLIST);
    EXPECT_EQ(GetWindowLongA(properties, GWL_STYLE) & (CBS_SORT | 3), CBS_DROPDOWNLIST);
}

TEST_F(MainWindow, ControlsSitWhereTheLayoutPutsThem) {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, 96) << "the layout below is in pixels at 96 DPI";

    RECT client{};
    GetClientRect(frmMain_->hwnd(), &client);
    EXPECT_EQ(client.right, 282);  // 4230 x 2700 twips
    EXPECT_EQ(client.bottom, 180);

    // The hint is as laid out where its text fits (Windows' Tahoma); where the font is wider,
    // it reaches as far right as its text needs, keeping the window's margin.
    const int hintText = TextWidthIn(Control(kIdColorHint));
    const LONG hintRight = hintText <= 193 ? 201 : std::min(8 + hintText, 274);
    struct Expected {
        int id;
        RECT rect;  // left, top, right, bottom
    };
    const std::array<Expected, 11> layout = {{
        {kIdHeadingVersion, {8, 8, 153, 25}},
        {kIdVersions, {8, 24, 153, 45}},
        {kIdApply, {184, 16, 273, 49}},
        {kIdHeadingProperty, {8, 56, 153, 73}},
        {kIdProperties, {8, 72, 153, 93}},
        {kIdHeadingColor, {8, 104, 153, 121}},
        {kIdColor, {8, 120, 153, 153}},
        {kIdColorHint, {8, 160, hintRight, 185}},
        {kIdHelp, {184, 48, 273, 73}},
        {kIdStatus, {176, 120, 273, 137}},
        {kIdBackup, {176, 88, 281, 105}},
    }};
    for (const Expected& e : layout) {
        SCOPED_TRACE(e.id);
        const RECT r = ClientRectOf(Control(e.id));
        EXPECT_EQ(r.left, e.rect.left);
        EXPECT_EQ(r.top, e.rect.top);
        EXPECT_EQ(r.right, e.rect.right);
        EXPECT_EQ(r.bottom, e.rect.bottom);
    }
}

TEST_F(MainWindow, HeadingsAndHintStandOnOneLine) {
    for (const int id : {kIdHeadingVersion, kIdHeadingProperty, kIdHeadingColor, kIdColorHint}) {
        SCOPED_TRACE(WindowText(Control(id)));
        EXPECT_LE(TextWidthIn(Control(id)), InnerWidth(Control(id)));
        LOGFONTA lf{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Control(id), WM_GETFONT, 0, 0)), sizeof lf,
                   &lf);
        EXPECT_STREQ(lf.lfFaceName, "Tahoma");
        EXPECT_LE(lf.lfHeight, -10) << "no smaller than Tahoma's 8 pt";
    }
}

TEST_F(MainWindow, WindowHasAFixedFrameWithoutMaximise) {
    const LONG style = GetWindowLongA(frmMain_->hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(style & WS_SYSMENU);
}

TEST_F(MainWindow, HelpButtonLiesInFrontOfApplyWhereTheyOverlap) {
    // The row at y = 48 belongs to both buttons; a click there must reach "About/Help".
    POINT inOverlap{200, 48};
    ClientToScreen(frmMain_->hwnd(), &inOverlap);
    EXPECT_EQ(WindowFromPoint(inOverlap), Control(kIdHelp));
    POINT aboveOverlap{200, 47};
    ClientToScreen(frmMain_->hwnd(), &aboveOverlap);
    EXPECT_EQ(WindowFromPoint(aboveOverlap), Control(kIdApply));
}

TEST_F(MainWindow, TabVisitsTheControlsInOrder) {
    HWND window = frmMain_->hwnd();
    const std::array<int, 7> order = {kIdVersions, kIdApply,  kIdProperties, kIdColor,
                                      kIdHelp,     kIdBackup, kIdVersions};
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        EXPECT_EQ(GetNextDlgTabItem(window, Control(order[i]), FALSE), Control(order[i + 1]))
            << "after control " << order[i];
    }
    // And the Tab key itself moves the focus that way.
    for (std::size_t i = 1; i < order.size(); ++i) {
        PressKey(GetFocus(), VK_TAB);
        EXPECT_EQ(GetFocus(), Control(order[i])) << "Tab number " << i;
    }
}

TEST_F(MainWindow, EnterAndEscapeStartNothing) {
    WriteFileBytes(installDir_ + "\\buddyui.ocm", test::SyntheticImage(0x10000));
    Select(kIdVersions, 3);
    Select(kIdProperties, 3);
    for (const int focus : {kIdVersions, kIdProperties, kIdBackup}) {
        SetFocus(Control(focus));
        PressKey(GetFocus(), VK_RETURN);
        PressKey(GetFocus(), VK_ESCAPE);
    }
    EXPECT_EQ(Status(), "Idle..");
    EXPECT_TRUE(IsWindow(frmMain_->hwnd()));
    EXPECT_TRUE(dialogs_.messageBoxes.empty());
    EXPECT_EQ(ReadFileBytes(installDir_ + "\\buddyui.ocm"), test::SyntheticImage(0x10000));
}

TEST_F(MainWindow, EnterOnAFocusedButtonPressesIt) {
    SetFocus(Control(kIdApply));
    PressKey(GetFocus(), VK_RETURN);
    WaitForApply();
    EXPECT_EQ(Status(), "Error.");  // nothing chosen yet
    EXPECT_EQ(GetFocus(), Control(kIdApply)) << "the focus comes back once the Apply is done";
    SetFocus(Control(kIdHelp));
    PressKey(GetFocus(), VK_RETURN);
    ASSERT_NE(frmMain_->About(), nullptr);
    EXPECT_TRUE(IsWindow(frmMain_->About()->hwnd()));
}

TEST_F(MainWindow, CancelledFirstPickKeepsTheSwatchWhite) {
    dialogs_.answer.reset();
    DoubleClickSwatch();
    ASSERT_EQ(dialogs_.colorRequests.size(), 1u);
    EXPECT_EQ(dialogs_.colorRequests[0].Flags, static_cast<DWORD>(CC_RGBINIT));
    EXPECT_EQ(dialogs_.colorRequests[0].rgbResult, kWhite);  // opens on the swatch's colour
    EXPECT_EQ(dialogs_.colorRequests[0].hwndOwner, frmMain_->hwnd());
    EXPECT_EQ(frmMain_->SwatchColor(), kWhite);
}

TEST_F(MainWindow, ConfirmedColourStaysThroughALaterCancel) {
    dialogs_.answer = kRed;
    DoubleClickSwatch();
    EXPECT_EQ(frmMain_->SwatchColor(), kRed);

    dialogs_.answer.reset();
    DoubleClickSwatch();
    ASSERT_EQ(dialogs_.colorRequests.size(), 2u);
    EXPECT_EQ(dialogs_.colorRequests[1].rgbResult, kRed);  // opens on the last confirmed colour
    // Custom colours are the window's own, the same array each time.
    EXPECT_EQ(dialogs_.colorRequests[0].lpCustColors, dialogs_.colorRequests[1].lpCustColors);
    EXPECT_EQ(frmMain_->SwatchColor(), kRed);
}

TEST_F(MainWindow, SwatchPaintsItsColour) {
    dialogs_.answer = RGB(10, 200, 30);
    DoubleClickSwatch();
    UpdateWindow(Control(kIdColor));
    HDC dc = GetDC(Control(kIdColor));
    RECT inside{};
    GetClientRect(Control(kIdColor), &inside);
    const COLORREF painted = GetPixel(dc, inside.right / 2, inside.bottom / 2);
    ReleaseDC(Control(kIdColor), dc);
    EXPECT_EQ(painted, RGB(10, 200, 30));
}

TEST_F(MainWindow, ApplyBeforeAnyChoiceIsAnError) {
    const std::string original = test::SyntheticImage(0x10000);
    WriteFileBytes(installDir_ + "\\buddyui.ocm", original);
    Click(kIdApply);
    EXPECT_EQ(Status(), "Error.");
    EXPECT_EQ(ReadFileBytes(installDir_ + "\\buddyui.ocm"), original);
}

TEST_F(MainWindow, ApplyWritesTheSwatchColourAndSaysSuccess) {
    const std::string original = test::SyntheticImage(0x10000);
    WriteFileBytes(installDir_ + "\\buddyui.ocm", original);
    Select(kIdVersions, 3);    // 5.1.3009 - 5.1.3036
    Select(kIdProperties, 3);  // Buddy names, at 0x56B9
    Button_SetCheck(Control(kIdBackup), BST_CHECKED);

    Click(kIdApply);  // the swatch is still white

    EXPECT_EQ(Status(), "Success!");
    const std::string patched = ReadFileBytes(installDir_ + "\\buddyui.ocm");
    EXPECT_EQ(test::DifferingOffsets(original, patched).size(), 3u);
    EXPECT_EQ(patched.substr(0x56B9, 3), "\xFF\xFF\xFF");
    EXPECT_EQ(ReadFileBytes(programDir_ + "\\BUIBackup.ocm"), original);

    dialogs_.answer = RGB(0x12, 0x34, 0x56);
    DoubleClickSwatch();
    Click(kIdApply);
    EXPECT_EQ(ReadFileBytes(installDir_ + "\\buddyui.ocm").substr(0x56B9, 3), "\x12\x34\x56");
}

TEST_F(MainWindow, ClosingTheWindowEndsTheMessageLoop) {
    SendMessageA(frmMain_->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(frmMain_->hwnd()));
    MSG msg{};
    EXPECT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(MainWindow, SwatchCarriesItsToolTip) {
    EXPECT_EQ(ToolTipOf(kIdColor), "Double-Click to bring up Color Chooser");
}

TEST_F(MainWindow, SpaceAndEnterOnTheSwatchOpenTheChooserOnItsColour) {
    SetFocus(Control(kIdProperties));
    PressKey(GetFocus(), VK_TAB);
    ASSERT_EQ(GetFocus(), Control(kIdColor));
    struct Press {
        WORD key;
        std::optional<COLORREF> answer;  // nullopt: cancel
        COLORREF swatch;
    };
    const std::array<Press, 3> presses = {{
        {VK_RETURN, std::nullopt, kWhite},  // a cancel leaves the swatch as it was
        {VK_SPACE, kRed, kRed},
        {VK_RETURN, std::nullopt, kRed},
    }};
    for (std::size_t i = 0; i < presses.size(); ++i) {
        SCOPED_TRACE(i);
        const COLORREF before = frmMain_->SwatchColor();
        dialogs_.answer = presses[i].answer;
        PressKey(GetFocus(), presses[i].key);
        ASSERT_EQ(dialogs_.colorRequests.size(), i + 1);
        EXPECT_EQ(dialogs_.colorRequests[i].Flags, static_cast<DWORD>(CC_RGBINIT));
        EXPECT_EQ(dialogs_.colorRequests[i].rgbResult, before);
        EXPECT_EQ(dialogs_.colorRequests[i].hwndOwner, frmMain_->hwnd());
        EXPECT_EQ(frmMain_->SwatchColor(), presses[i].swatch);
    }
    EXPECT_EQ(GetFocus(), Control(kIdColor));
    EXPECT_EQ(Status(), "Idle..");
}

TEST_F(MainWindow, SwatchShowsAFocusRectangleWhileItHasTheFocus) {
    HWND swatch = Control(kIdColor);
    // Pixels of the swatch that are not its colour.
    const auto marked = [swatch] {
        RedrawWindow(swatch, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        RECT r{};
        GetClientRect(swatch, &r);
        HDC dc = GetDC(swatch);
        int count = 0;
        for (int y = 0; y < r.bottom; ++y) {
            for (int x = 0; x < r.right; ++x) {
                count += GetPixel(dc, x, y) != kWhite ? 1 : 0;
            }
        }
        ReleaseDC(swatch, dc);
        return count;
    };
    SetFocus(swatch);
    EXPECT_GT(marked(), 40);
    SetFocus(Control(kIdVersions));
    EXPECT_EQ(marked(), 0);
}

TEST_F(MainWindow, EveryErrorSaysWhyInTheStatusToolTip) {
    const std::string target = installDir_ + "\\buddyui.ocm";
    const auto failAt = [this](test::FileStep step, ErrorNumber number) {
        files_.InterveneAt(step, [number] { throw RunError(number); });
    };
    struct Case {
        const char* what;
        bool choose;  // a version and a property
        bool backup;
        std::function<void()> arrange;
        std::string reason;
    };
    const std::array<Case, 7> cases = {{
        {"nothing selected", false, false, [] {}, "Select your AIM version first."},
        {"program folder not writable", true, true,
         [&] {  // the second new file is the backup's, after buddyui.ocm's
             files_.InterveneAt(test::FileStep::kCreate, [&] {
                 failAt(test::FileStep::kCreate, ErrorNumber::kPermissionDenied);
             });
         },
         "BUIBackup.ocm or Huevane's folder may not be written, so no backup was made and "
         "nothing was changed. Make BUIBackup.ocm writable, move Huevane to a folder you may "
         "write to, or uncheck \"Make Backup\"."},
        {"file in use", true, false,
         [&] { failAt(test::FileStep::kLock, ErrorNumber::kFileAlreadyOpen); }, kInUse},
        {"disk full", true, false, [&] { failAt(test::FileStep::kWrite, ErrorNumber::kDiskFull); },
         "The disk is full; buddyui.ocm was left as it was."},
        {"not a regular file", true, false,
         [&] {
             DeleteFileA(target.c_str());
             CreateDirectoryA(target.c_str(), nullptr);
         },
         "buddyui.ocm is not a regular file."},
        {"read-only", true, false,
         [&] { SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_READONLY); },
         "Permission denied: you may not change buddyui.ocm, or it is read-only."},
        {"file missing", true, false, [&] { DeleteFileA(target.c_str()); },
         "There is no buddyui.ocm in AIM's folder."},
    }};
    const std::string original = test::SyntheticImage(0x10000);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RemoveDirectoryA(target.c_str());
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        WriteFileBytes(target, original);
        Select(kIdVersions, c.choose ? 3 : -1);
        Select(kIdProperties, c.choose ? 3 : -1);
        Button_SetCheck(Control(kIdBackup), c.backup ? BST_CHECKED : BST_UNCHECKED);
        c.arrange();
        Click(kIdApply);
        EXPECT_EQ(Status(), "Error.");
        EXPECT_EQ(ToolTipOf(kIdStatus), c.reason);
    }
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteFileBytes(target, original);
    Click(kIdApply);
    EXPECT_EQ(Status(), "Success!");
    EXPECT_EQ(ToolTipOf(kIdStatus), "") << "a success needs no reason";
}

TEST_F(MainWindow, AnUnregisteredClientIsTheReason) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, std::string(client::kClientKeyPath).c_str(), 0,
                            KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    RegDeleteValueA(key, nullptr);
    RegCloseKey(key);
    Reopen();
    ASSERT_EQ(frmMain_->strAIMDir(), "Not Found");
    Select(kIdVersions, 3);
    Select(kIdProperties, 3);
    Click(kIdApply);
    EXPECT_EQ(Status(), "Error.");
    EXPECT_EQ(ToolTipOf(kIdStatus),
              "AIM is not registered for this Windows user, so its folder is unknown. Install "
              "AIM, or start it once as this user.");
}

TEST_F(MainWindow, WindowAnswersAndSaysWaitingWhileAnotherProgramHoldsTheFile) {
    const std::string target = installDir_ + "\\buddyui.ocm";
    Select(kIdVersions, 3);
    Select(kIdProperties, 3);
    // Another writer, as a second Huevane or huevane-cli, or AIM keeping the file to itself.
    for (const bool otherWriter : {true, false}) {
        SCOPED_TRACE(otherWriter ? "another writer's lock" : "a handle without sharing");
        WriteFileBytes(target, test::SyntheticImage(0x10000));
        std::unique_ptr<FileLock> lock;
        std::optional<UnsharedHandle> handle;
        if (otherWriter) {
            lock = native_->LockForWriting(target);
            ASSERT_NE(lock, nullptr);
        } else {
            ASSERT_TRUE(handle.emplace(target).valid());
        }
        const auto locks =
            std::count(files_.steps().begin(), files_.steps().end(), test::FileStep::kLock);

        SendMessageA(Control(kIdApply), BM_CLICK, 0, 0);
        ASSERT_TRUE(test::PumpUntil([this] { return Status() == "Waiting..."; }));
        EXPECT_EQ(ToolTipOf(kIdStatus),
                  "Another program is using buddyui.ocm or its backup; "
                  "Huevane waits a few seconds for it.");
        EXPECT_TRUE(test::AnswersWhilePumping(frmMain_->hwnd(), 2000)) << "the window hangs";
        EXPECT_TRUE(frmMain_->ApplyRunning()) << "the Apply no longer waits for the file";
        EXPECT_FALSE(IsWindowEnabled(Control(kIdApply)));
        SendMessageA(Control(kIdApply), BM_CLICK, 0, 0);  // a second press starts nothing
        PressKey(frmMain_->hwnd(), VK_RETURN);
        EXPECT_EQ(Status(), "Waiting...");

        lock.reset();
        handle.reset();
        WaitForApply();
        EXPECT_EQ(Status(), "Success!");
        EXPECT_EQ(ReadFileBytes(target).substr(0x56B9, 3), "\xFF\xFF\xFF");
        EXPECT_EQ(std::count(files_.steps().begin(), files_.steps().end(), test::FileStep::kLock),
                  locks + 1)
            << "one Apply, one lock";
    }
}

// A refused choice shows the stop message and keeps the status; neither it nor a failure
// touches the backup.
TEST_F(MainWindow, ARefusedOrFailedApplyKeepsTheBackup) {
    const std::string target = installDir_ + "\\buddyui.ocm";
    const std::string backup = programDir_ + "\\BUIBackup.ocm";
    const std::string wrongBuild =
        "Your AIM is build 5.1.3020, which \"5.2.3074\" does not cover. Select \"5.1.3009 - "
        "5.1.3036\" and try again; nothing was changed.";
    std::optional<UnsharedHandle> held;
    struct Case {
        const char* what;
        int version;
        int property;
        std::function<void()> arrange;
        std::string box;  // the text of the one message box, or none
        std::string status;
        std::string reason;
    };
    // In order: the client's executable, once written, stays for the cases after it.
    const std::array<Case, 4> cases = {{
        {"refused pair", 4, 1, [] {}, "That isn't available for your version, sorry!", "Idle..",
         ""},
        {"wrong build", 4, 3,
         [&] {
             WriteFileBytes(installDir_ + "\\aim.exe", test::BuildPeWithVersion({5, 1, 3020, 0}));
         },
         wrongBuild, "Error.", wrongBuild},
        {"read-only", 3, 3, [&] { test::MakeReadOnly(target); }, "", "Error.",
         "Permission denied: you may not change buddyui.ocm, or it is read-only."},
        {"held open past the wait", 3, 3, [&] { ASSERT_TRUE(held.emplace(target).valid()); }, "",
         "Error.", kInUse},
    }};
    const std::string original = test::SyntheticImage(0x10000);
    const std::string oldBackup = test::SyntheticImage(0x10000, 2);
    Button_SetCheck(Control(kIdBackup), BST_CHECKED);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
        WriteFileBytes(target, original);
        WriteFileBytes(backup, oldBackup);
        dialogs_.messageBoxes.clear();
        Select(kIdVersions, c.version);
        Select(kIdProperties, c.property);
        c.arrange();
        Click(kIdApply);
        held.reset();
        ASSERT_EQ(dialogs_.messageBoxes.size(), c.box.empty() ? 0u : 1u);
        if (!c.box.empty()) {
            const auto& box = dialogs_.messageBoxes[0];
            EXPECT_EQ(box.text, c.box);
            EXPECT_EQ(box.caption, "Huevane");
            EXPECT_EQ(box.style, static_cast<UINT>(MB_OK | MB_ICONSTOP));  // 16
            EXPECT_EQ(box.owner, frmMain_->hwnd());
        }
        EXPECT_EQ(Status(), c.status);
        EXPECT_EQ(ToolTipOf(kIdStatus), c.reason);
        EXPECT_EQ(ReadFileBytes(target), original);
        EXPECT_EQ(ReadFileBytes(backup), oldBackup);
    }
    // The version that covers the client's build.
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    Select(kIdVersions, 3);
    Click(kIdApply);
    EXPECT_EQ(Status(), "Success!");
    EXPECT_EQ(ReadFileBytes(target).substr(0x56B9, 3), "\xFF\xFF\xFF");
    EXPECT_EQ(ReadFileBytes(backup), original);
}

// The real colour dialog and message box, closed by a watcher thread as a user would close them.
class MainWindowWithSystemDialogs : public MainWindow {
protected:
    SystemDialogs& Dialogs() override { return systemDialogs_; }
    Win32Dialogs systemDialogs_;
};

TEST_F(MainWindowWithSystemDialogs, CancelledColourDialogLeavesTheSwatchAsItWas) {
    bool mainWasDisabled = false;
    {
        test::DialogWatcher watcher(GetCurrentThreadId(), [&](HWND dialog) {
            mainWasDisabled = !IsWindowEnabled(frmMain_->hwnd());
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
        DoubleClickSwatch();
        EXPECT_TRUE(watcher.sawDialog());
    }
    EXPECT_TRUE(mainWasDisabled) << "the colour dialog is modal";
    EXPECT_EQ(frmMain_->SwatchColor(), kWhite);
}

TEST_F(MainWindowWithSystemDialogs, RefusedPairShowsAStopBoxWithOneButton) {
    Select(kIdVersions, 10);
    Select(kIdProperties, 1);
    struct Seen {
        std::string caption;
        std::string text;
        bool hasIcon = false;
        bool hasOk = false;
        bool hasCancel = false;
        bool mainDisabled = false;
    } seen;
    {
        test::DialogWatcher watcher(GetCurrentThreadId(), [&](HWND box) {
            seen.caption = WindowText(box);
            seen.text = WindowText(GetDlgItem(box, 0xFFFF));  // the message text's static
            // The icon's static has another id on Windows than on Wine: find it by its style.
            const auto stop =
                reinterpret_cast<LRESULT>(LoadIconA(nullptr, MAKEINTRESOURCEA(32513)));
            for (HWND c = GetWindow(box, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
                if ((GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
                    SendMessageA(c, STM_GETICON, 0, 0) == stop) {
                    seen.hasIcon = true;
                }
            }
            seen.hasOk = GetDlgItem(box, IDOK) != nullptr;
            seen.hasCancel = GetDlgItem(box, IDCANCEL) != nullptr;
            seen.mainDisabled = !IsWindowEnabled(frmMain_->hwnd());
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
        Click(kIdApply);
        EXPECT_TRUE(watcher.sawDialog());
    }
    EXPECT_EQ(seen.caption, "Huevane");
    EXPECT_EQ(seen.text, "That isn't available for your version, sorry!");
    EXPECT_TRUE(seen.hasIcon) << "the stop icon";
    EXPECT_TRUE(seen.hasOk);
    EXPECT_FALSE(seen.hasCancel);
    EXPECT_TRUE(seen.mainDisabled) << "the message box is modal";
    EXPECT_EQ(Status(), "Idle..");
}

}  // namespace
}  // namespace huevane::ui
