#pragma once
#include <QString>

namespace orv {

// The window's own texts, per language (1 English, anything else Chinese except where noted).
QString MainWindowTitle(int language);
QString PlugInPrompt(int language);
QString ShowWindowText(int language);
QString ExitDriverText(int language);
QString AboutMenuText();
QString AboutTitle();
QString AboutVersionText();
// The name the executable runs under, without extension: the caption of the plug-in prompt.
QString ProgramName();

}  // namespace orv
