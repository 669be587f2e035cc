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
