#include "common/Texts.h"

#include <array>

namespace orv {

namespace {

struct Row {
    TextId id;
    std::string_view english;
    std::string_view chinese;
};

// The product name inside the plug-in prompt stays in Latin letters in both languages.
constexpr std::array kTexts{
    Row{TextId::ProgramName, "ORV_GMouse", "ORV_GMouse"},
    Row{TextId::MainWindowTitle, "TALVEN Q7 Gaming Mouse", "岚峰Q7电竞游戏鼠标"},
    Row{TextId::PlugInPrompt, "Please plug-in【TALVEN Q7】USB Mouse", "请插入【TALVEN Q7】USB鼠标"},
    Row{TextId::ShowWindow, "Show Window", "显示窗口   "},
    Row{TextId::ExitDriver, "Exit Driver", "关闭驱动"},
    Row{TextId::Minimize, "Minimize", "Minimize"},
    Row{TextId::Close, "Close", "Close"},
    Row{TextId::AboutMenu, "&About ORV_GMouse...", "&About ORV_GMouse..."},
    Row{TextId::AboutTitle, "About ORV_GMouse", "About ORV_GMouse"},
    Row{TextId::AboutVersion, "ORV_GMouse Version 1.0", "ORV_GMouse Version 1.0"},
    Row{TextId::AboutCopyright, "Copyright (C) 2026", "Copyright (C) 2026"},
    Row{TextId::Record, "Record", "录制"},
    Row{TextId::Stop, "Stop", "停止"},
    Row{TextId::FileMissing, "找不到配置文件", "找不到配置文件"},
    Row{TextId::SkinEntryError, "加载ini错误！", "加载ini错误！"},
    Row{TextId::Overflow, "Overflow!!!", "Overflow!!!"},
    Row{TextId::RecordingUnavailable, "The keyboard cannot be captured, so nothing can be recorded.",
        "无法捕获键盘，不能录制。"},
    Row{TextId::NoTrayMinimises,
        "This desktop shows no notification area, so the window is minimised instead of hidden: it stays in the "
        "task bar, and the mouse's macros keep working.",
        "此桌面没有通知区域，因此窗口将最小化而不是隐藏：它仍留在任务栏中，鼠标的宏照常工作。"},
    Row{TextId::DeviceAccessDenied,
        "The TALVEN Q7 mouse is plugged in, but this user may not open it (permission denied): no setting and no "
        "macro reaches it. The window still shows and edits the profiles.",
        "【TALVEN Q7】鼠标已插入，但当前用户无权打开它（权限被拒绝）：设置和宏都无法发送到鼠标。窗口仍可查看和编辑配置。"},
    Row{TextId::DeviceUnopened,
        "The TALVEN Q7 mouse is plugged in, but it could not be opened: no setting and no macro reaches it. The "
        "window still shows and edits the profiles.",
        "【TALVEN Q7】鼠标已插入，但无法打开：设置和宏都无法发送到鼠标。窗口仍可查看和编辑配置。"},
    Row{TextId::DeviceAccessFixUdev,
        "To give access, run these two commands in the program's source folder, then unplug the mouse, plug it "
        "in again and start this program again:\n\n"
        "sudo cp packaging/linux/70-orv-gmouse.rules /etc/udev/rules.d/\n"
        "sudo udevadm control --reload-rules && sudo udevadm trigger",
        "要授予访问权限，请在程序的源代码文件夹中运行以下两条命令，然后拔下鼠标、重新插入，并重新启动本程序：\n\n"
        "sudo cp packaging/linux/70-orv-gmouse.rules /etc/udev/rules.d/\n"
        "sudo udevadm control --reload-rules && sudo udevadm trigger"},
    Row{TextId::DeviceAccessFixOtherProgram,
        "Close any other program that uses the mouse, then unplug the mouse, plug it in again and start this "
        "program again.",
        "请关闭正在使用该鼠标的其他程序，然后拔下鼠标、重新插入，并重新启动本程序。"},
    Row{TextId::MouseUnreachable, "The profile could not be sent: the mouse could not be reached.",
        "配置未能发送：无法连接鼠标。"},
    Row{TextId::SettingsNotSaved,
        "The settings could not be saved in %1: they stay in the window only until the program ends.",
        "无法将设置保存到 %1：设置仅保留在窗口中，直到程序结束。"},
    Row{TextId::ConfigUnreadable,
        "%1 cannot be read: the window shows the factory settings and saves nothing over the file.",
        "无法读取 %1：窗口显示出厂设置，且不会覆盖该文件。"},
    Row{TextId::MacroFileUnreadable,
        "%1 cannot be read: its macros are not shown, and the window saves nothing over the file.",
        "无法读取 %1：其中的宏不会显示，窗口也不会覆盖该文件。"},
    Row{TextId::MacroImportUnreadable, "%1 cannot be read: no macro was imported.", "无法读取 %1：未导入任何宏。"},
    Row{TextId::MacroFileNotWritten, "The macros could not be saved in %1.", "无法将宏保存到 %1。"},
    Row{TextId::MacroImportNoMacros, "%1 holds no macros: no macro was imported.", "%1 中没有宏：未导入任何宏。"},
    Row{TextId::FileBusy,
        "%1 is being written by another program, so nothing was saved in it. Try again once that program has "
        "finished.",
        "另一个程序正在写入 %1，因此未保存到该文件。请在该程序完成后重试。"},
    // Blanks at the end of a caption are part of it: they widen the item in the drawn menu.
    Row{TextId::EventMenuAddForward, "Add Forward", "项前插入    "},
    Row{TextId::EventMenuForwardLeft, "Left Button", "左键    "},
    Row{TextId::EventMenuForwardLeftDown, "Down ", "向下    "},
    Row{TextId::EventMenuForwardLeftUp, "Up", "向上"},
    Row{TextId::EventMenuForwardRight, "Right Button", "右键"},
    Row{TextId::EventMenuForwardRightDown, "Down", "向下    "},
    Row{TextId::EventMenuForwardRightUp, "Up", "向上"},
    Row{TextId::EventMenuForwardMid, "Mid Button", "中键"},
    Row{TextId::EventMenuForwardMidDown, "Down", "向下    "},
    Row{TextId::EventMenuForwardMidUp, "Up", "向上"},
    Row{TextId::EventMenuAddBackward, "Add Backward", "项后插入"},
    Row{TextId::EventMenuBackwardLeft, "Left Button", "左键   "},
    Row{TextId::EventMenuBackwardLeftDown, "Down ", "向下  "},
    Row{TextId::EventMenuBackwardLeftUp, "Up", "向上"},
    Row{TextId::EventMenuBackwardRight, "Right Button", "右键   "},
    Row{TextId::EventMenuBackwardRightDown, "Down", "向下   "},
    Row{TextId::EventMenuBackwardRightUp, "Up", "向上"},
    Row{TextId::EventMenuBackwardMid, "Mid Button", "中键   "},
    Row{TextId::EventMenuBackwardMidDown, "Down", "向下   "},
    Row{TextId::EventMenuBackwardMidUp, "Up", "向上"},
    Row{TextId::EventMenuModifyDelay, "Modify Delay", "修改延迟"},
    Row{TextId::EventMenuDelete, "Delete", "删除"},
    Row{TextId::RestoreDefaultsQuestion,
        "Restore the factory settings? All five profiles and the user macros of this language will be "
        "overwritten.",
        "恢复出厂设置？全部五个配置和本语言的用户宏都将被覆盖。"},
    Row{TextId::Yes, "&Yes", "是(&Y)"},
    Row{TextId::No, "&No", "否(&N)"},
    Row{TextId::NoProfileInFile, "This file holds no profile:", "该文件中没有配置："},
    Row{TextId::CannotReadFile, "Cannot read the file:", "无法读取文件："},
    Row{TextId::CannotWriteFile, "Cannot write the file:", "无法写入文件："},
    Row{TextId::UnsavedMacrosQuestion, "The macros have changes that are not saved yet. Save them before going on?",
        "宏有尚未保存的更改。是否先保存？"},
    Row{TextId::Save, "&Save", "保存(&S)"},
    Row{TextId::Discard, "&Discard", "不保存(&D)"},
    Row{TextId::Cancel, "Cancel", "取消"},
    Row{TextId::ProgramProfilesMenu, "Program profiles…", "程序配置…"},
    Row{TextId::ProgramProfilesTitle, "Program profiles", "程序配置"},
    Row{TextId::FollowPrograms, "&Switch the profile when a program comes to the front",
        "程序切换到前台时自动切换配置(&S)"},
    Row{TextId::ProgramColumn, "Program", "程序"},
    Row{TextId::WindowClassColumn, "Window class", "窗口类"},
    Row{TextId::ProfileColumn, "Profile", "配置"},
    Row{TextId::AddRule, "&Add…", "添加(&A)…"},
    Row{TextId::RemoveRule, "&Remove", "删除(&R)"},
    Row{TextId::NoRuleChoice, "&When no rule matches:", "没有规则匹配时(&W)："},
    Row{TextId::KeepProfile, "Keep the profile in use", "保持当前配置"},
    Row{TextId::ProfileNumber, "Profile %1", "配置 %1"},
    Row{TextId::CloseDialog, "&Close", "关闭(&C)"},
    Row{TextId::FollowingOnWayland,
        "On Wayland no program can learn which program is in front: the rules are kept, but the profile is not "
        "switched.",
        "在 Wayland 下，任何程序都无法得知哪个程序在前台：规则会保留，但不会切换配置。"},
    Row{TextId::FollowingUnavailable, "The program in front cannot be watched here: the profile is not switched.",
        "此处无法得知前台程序：不会切换配置。"},
    Row{TextId::ProgramRulesDamaged,
        "%1 is damaged: its program rules are ignored, and nothing is saved over the file. Fix or remove it to use "
        "program profiles.",
        "%1 已损坏：其中的程序规则被忽略，也不会覆盖该文件。请修复或删除它以使用程序配置。"},
    Row{TextId::ProgramRulesUnreadable, "%1 cannot be read: its program rules are ignored.",
        "无法读取 %1：其中的程序规则被忽略。"},
    Row{TextId::ProgramRulesNotSaved, "The program rules could not be saved in %1.", "无法将程序规则保存到 %1。"},
    Row{TextId::AddRuleTitle, "Add a program", "添加程序"},
    Row{TextId::RunningProgramsLabel, "R&unning programs:", "正在运行的程序(&U)："},
    Row{TextId::ProgramLabel, "&Program:", "程序(&P)："},
    Row{TextId::BrowseProgram, "&Browse…", "浏览(&B)…"},
    Row{TextId::WindowClassLabel, "Window &class (optional):", "窗口类（可选）(&C)："},
    Row{TextId::ProfileLabel, "Pro&file:", "配置(&F)："},
    Row{TextId::Ok, "OK", "确定"},
};

}  // namespace

std::string_view Text(TextId id, Language language) {
    for (const Row& row : kTexts) {
        if (row.id == id) {
            return language.IsEnglish() ? row.english : row.chinese;
        }
    }
    return {};
}

}  // namespace orv
