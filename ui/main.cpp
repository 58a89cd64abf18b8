// Huevane.exe: starts straight into the main window; there is no command line to handle.
#include <windows.h>

#include "platform/native_file_system.h"
#include "platform/program_dir.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "ui/frm_main.h"
#include "ui/message_loop.h"
#include "ui/secondary_owner.h"
#include "ui/system_dialogs.h"

int WINAPI WinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, LPSTR /*commandLine*/,
                   int showCommand) {
    using namespace huevane;
    const auto registry = platform::MakeWindowsRegistry();
    const auto files = platform::MakeNativeFileSystem();
    ui::Win32Dialogs dialogs;
    ui::SecondaryOwner owner;
    ui::FrmMain frmMain(ui::MainWindowServices{*registry, *files, dialogs, modColors::OpenSite,
                                               platform::ProgramDirectory(),
                                               [&owner] { return owner.hwnd(); }});
    if (!frmMain.Create(showCommand)) {
        return 1;
    }
    return ui::RunMessageLoop();
}
