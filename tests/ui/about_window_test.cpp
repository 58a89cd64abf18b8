// The About window, opened from the main window as the user opens it.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "platform/native_file_system.h"
#include "platform/registry.h"
#include "platform/win_text.h"
#include "res/resource.h"
#include "tests/test_support.h"
#include "tests/ui/gui_support.h"
#include "ui/frm_main.h"
#include "ui/secondary_owner.h"
#include "ui/wine_fonts.h"

namespace huevane::ui {
namespace {

using test::ClientRectOf;
using test::PressKey;
using test::PumpPending;
using test::WindowText;

// Tahoma is read for the windows only from a regular file; anything else is passed over at once.
TEST(WineFonts, ReadsOnlyARegularFile) {
    const test::TempDir dir;
    test::WriteFileBytes(dir.File("tahoma.ttf"), "font bytes");
    EXPECT_EQ(ReadFontFile(platform::Wide(dir.File("tahoma.ttf"))), "font bytes");
    for (const std::string& path : {dir.path(), std::string("NUL"), dir.File("missing.ttf")}) {
        EXPECT_EQ(ReadFontFile(platform::Wide(path)), std::nullopt) << path;
    }
}

class AboutWindow : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(frmMain_.Create(SW_SHOWNORMAL)); }
    void TearDown() override { PumpPending(); }

    HWND OpenAbout() {
        SendMessageA(GetDlgItem(frmMain_.hwnd(), kIdHelp), BM_CLICK, 0, 0);
        PumpPending();
        return frmMain_.About() != nullptr ? frmMain_.About()->hwnd() : nullptr;
    }
    static HWND Control(HWND about, int id) { return GetDlgItem(about, id); }

    std::unique_ptr<platform::RegistryApi> registry_ = platform::MakeWindowsRegistry();
    std::unique_ptr<FileSystem> files_ = platform::MakeNativeFileSystem();
    test::ScriptedDialogs dialogs_;
    SecondaryOwner owner_;
    std::vector<std::string> openedSites_;
    FrmMain frmMain_{
        MainWindowServices{*registry_, *files_, dialogs_,
                           [this](const std::string& site) { openedSites_.push_back(site); },
                           "C:\\", [this] { return owner_.hwnd(); }}};
};

TEST_F(AboutWindow, OpensModelessBesideTheMainWindowAndOnlyOnce) {
    HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(IsWindowVisible(about));
    EXPECT_EQ(WindowText(about), "Information");
    // Owned by the hidden window, not by the main window: both stay usable, and it stays out
    // of the task bar.
    EXPECT_EQ(GetWindow(about, GW_OWNER), owner_.hwnd());
    EXPECT_NE(GetWindow(about, GW_OWNER), frmMain_.hwnd());
    EXPECT_FALSE(GetWindowLongA(about, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_TRUE(IsWindowEnabled(frmMain_.hwnd()));
    EXPECT_EQ(GetFocus(), Control(about, kIdOk));

    EXPECT_EQ(OpenAbout(), about);
    EXPECT_EQ(test::ProcessWindows(kAboutWindowClass).size(), 1u);
}

TEST_F(AboutWindow, ShowsTheTextsInTheirPlaces) {
    HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    RECT client{};
    GetClientRect(about, &client);
    EXPECT_EQ(client.right, 249);  // 3735 x 3180 twips
    EXPECT_EQ(client.bottom, 212);
    const LONG style = GetWindowLongA(about, GWL_STYLE);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(GetWindowLongA(about, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);

    EXPECT_EQ(WindowText(Control(about, kIdAboutFrame)), "About");
    EXPECT_EQ(WindowText(Control(about, kIdHelpFrame)), "Help");
    EXPECT_EQ(WindowText(Control(about, kIdAboutText)),
              "This is a program for those of you that want to change the colors in buddyui.ocm "
              "but are too lazy/don't know how to change the colors via hex editor.");
    EXPECT_EQ(WindowText(Control(about, kIdHelpText)),
              "1. Pick your AIM Version" + std::string(28, ' ') +
                  "2. Pick the property you want to change" + std::string(3, ' ') +
                  "3. Pick the new color" + std::string(33, ' ') + "4. Press 'Apply Changes'");
    EXPECT_EQ(WindowText(Control(about, kIdSite)), "www.dresk.example");
    EXPECT_EQ(WindowText(Control(about, kIdOk)), "OK");

    struct Expected {
        int id;
        RECT rect;
    };
    // The link is as laid out where its text fits (Windows' Tahoma); where the font is wider,
    // it grows on both sides to its text's width, centred where it was.
    HWND site = Control(about, kIdSite);
    HDC dc = GetDC(site);
    const HGDIOBJ old =
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(site, WM_GETFONT, 0, 0)));
    SIZE link{};
    GetTextExtentPoint32A(dc, "www.dresk.example", 17, &link);
    SelectObject(dc, old);
    ReleaseDC(site, dc);
    const LONG siteWidth = std::max(113L, link.cx + 2);
    const LONG siteLeft = (64 + 177) / 2 - (siteWidth > 113 ? siteWidth / 2 : 56);
    // Labels inside a frame are placed from the frame's corner.
    const std::array<Expected, 6> layout = {{
        {kIdAboutFrame, {8, 8, 241, 105}},
        {kIdAboutText, {16, 24, 233, 89}},
        {kIdSite, {siteLeft, 80, siteLeft + siteWidth, 97}},
        {kIdHelpFrame, {8, 112, 241, 201}},
        {kIdHelpText, {16, 128, 217, 185}},
        {kIdOk, {160, 168, 233, 193}},
    }};
    for (const Expected& e : layout) {
        SCOPED_TRACE(e.id);
        const RECT r = ClientRectOf(Control(about, e.id));
        EXPECT_EQ(r.left, e.rect.left);
        EXPECT_EQ(r.top, e.rect.top);
        EXPECT_EQ(r.right, e.rect.right);
        EXPECT_EQ(r.bottom, e.rect.bottom);
    }
}

TEST_F(AboutWindow, AboutTextEndsAboveTheLinkAndTheHelpStepsStandOnePerLine) {
    HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    const FrmAbout& frmAbout = *frmMain_.About();
    // Width of a line and height of the lines in a label's own font.
    const auto measure = [](HWND label, const std::vector<std::string>& lines) {
        HDC dc = GetDC(label);
        const HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0)));
        TEXTMETRICA metrics{};
        GetTextMetricsA(dc, &metrics);
        LONG widest = 0;
        for (const std::string& line : lines) {
            SIZE size{};
            GetTextExtentPoint32A(dc, line.data(), static_cast<int>(line.size()), &size);
            widest = std::max(widest, size.cx);
        }
        SelectObject(dc, old);
        ReleaseDC(label, dc);
        return SIZE{widest, metrics.tmHeight * static_cast<LONG>(lines.size())};
    };

    HWND helpText = Control(about, kIdHelpText);
    const std::vector<std::string> steps = frmAbout.InfoLines(kIdHelpText);
    ASSERT_EQ(steps.size(), 4u);
    EXPECT_EQ(steps[0], "1. Pick your AIM Version");
    EXPECT_EQ(steps[1], "2. Pick the property you want to change");
    EXPECT_EQ(steps[2], "3. Pick the new color");
    EXPECT_EQ(steps[3], "4. Press 'Apply Changes'");
    const SIZE helpSize = measure(helpText, steps);
    const RECT helpPlace = ClientRectOf(helpText);
    EXPECT_LE(helpSize.cx, helpPlace.right - helpPlace.left);
    EXPECT_LE(helpSize.cy, helpPlace.bottom - helpPlace.top);

    HWND aboutText = Control(about, kIdAboutText);
    const std::vector<std::string> lines = frmAbout.InfoLines(kIdAboutText);
    std::string joined;
    for (const std::string& line : lines) {
        joined += (joined.empty() ? "" : " ") + line;
    }
    EXPECT_EQ(joined, WindowText(aboutText));
    const SIZE aboutSize = measure(aboutText, lines);
    const RECT aboutPlace = ClientRectOf(aboutText);
    EXPECT_LE(aboutSize.cx, aboutPlace.right - aboutPlace.left);
    EXPECT_LE(aboutPlace.top + aboutSize.cy, ClientRectOf(Control(about, kIdSite)).top)
        << lines.size() << " lines run into the link";
}

TEST_F(AboutWindow, LinkAndButtonLieInFrontOfTheTextsTheyOverlap) {
    HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    // The topmost child at a point, by drawing order alone (labels let clicks through).
    const auto windowAt = [about](int x, int y) {
        return ChildWindowFromPointEx(about, POINT{x, y}, CWP_SKIPINVISIBLE);
    };
    EXPECT_EQ(windowAt(120, 84), Control(about, kIdSite));  // the about text reaches y = 89
    EXPECT_EQ(windowAt(170, 175), Control(about, kIdOk));   // the help text reaches y = 185
    // Drawing follows the same order: neither text paints over them.
    EXPECT_TRUE(GetWindowLongA(Control(about, kIdAboutText), GWL_STYLE) & WS_CLIPSIBLINGS);
    EXPECT_TRUE(GetWindowLongA(Control(about, kIdHelpText), GWL_STYLE) & WS_CLIPSIBLINGS);
}

TEST_F(AboutWindow, LinkUsesBoldUnderlinedNavyAndTheHandCursor) {
    HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    HWND site = Control(about, kIdSite);
    LOGFONTA lf{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(site, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    EXPECT_STREQ(lf.lfFaceName, "Tahoma");
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_TRUE(lf.lfUnderline);

    HDC dc = GetDC(site);
    SendMessageA(about, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(site));
    EXPECT_EQ(GetTextColor(dc), static_cast<COLORREF>(0x00800000));
    ReleaseDC(site, dc);

    SendMessageA(about, WM_SETCURSOR, reinterpret_cast<WPARAM>(site),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_LINK_HAND));
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(GetCursor(), hand);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    EXPECT_EQ(info.xHotspot, 5u);
    EXPECT_EQ(info.yHotspot, 0u);
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    EXPECT_EQ(mask.bmWidth, 32);
    EXPECT_EQ(info.hbmColor, nullptr);  // two colours: all in the mask
    DeleteObject(info.hbmMask);
}

TEST_F(AboutWindow, LinkHandsTheAddressToTheShellEachClick) {
    HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    for (int i = 0; i < 2; ++i) {
        SendMessageA(about, WM_COMMAND, MAKEWPARAM(kIdSite, STN_CLICKED),
                     reinterpret_cast<LPARAM>(Control(about, kIdSite)));
    }
    EXPECT_EQ(openedSites_, (std::vector<std::string>{"www.dresk.example", "www.dresk.example"}));
    EXPECT_TRUE(IsWindow(about));
}

TEST_F(AboutWindow, OkEnterAndSpaceCloseItButEscapeDoesNot) {
    HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    PressKey(GetFocus(), VK_ESCAPE);
    EXPECT_TRUE(IsWindow(about));

    PressKey(GetFocus(), VK_RETURN);
    EXPECT_FALSE(IsWindow(about));

    about = OpenAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(GetFocus(), Control(about, kIdOk));
    PressKey(GetFocus(), VK_SPACE);
    EXPECT_FALSE(IsWindow(about));

    about = OpenAbout();
    ASSERT_NE(about, nullptr);
    SendMessageA(Control(about, kIdOk), BM_CLICK, 0, 0);
    EXPECT_FALSE(IsWindow(about));

    // Reopened, it comes back the same.
    about = OpenAbout();
    ASSERT_NE(about, nullptr);
    EXPECT_EQ(WindowText(Control(about, kIdSite)), "www.dresk.example");
    EXPECT_EQ(test::ProcessWindows(kAboutWindowClass).size(), 1u);
}

TEST_F(AboutWindow, ClosingTheMainWindowTakesTheAboutWindowAlong) {
    HWND about = OpenAbout();
    ASSERT_NE(about, nullptr);
    SendMessageA(frmMain_.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(about));
}

}  // namespace
}  // namespace huevane::ui
