#include "ui/LanguageSwitch.h"

#include "common/Messages.h"
#include "common/Texts.h"
#include "common/Utf.h"
#include "session/Session.h"
#include "skin/SkinLayout.h"

namespace orv {

LanguageSwitch::LanguageSwitch(Session& session, SkinLayout& skin, std::filesystem::path skinDirectory,
                               MessageSink& messages, std::string caption)
    : session_(session),
      skin_(skin),
      skinDirectory_(std::move(skinDirectory)),
      messages_(messages),
      caption_(std::move(caption)) {}

void LanguageSwitch::SwitchToChinese() { Switch(Language::Chinese()); }

void LanguageSwitch::SwitchToEnglish() { Switch(Language::English()); }

// A "VER_SEL" that cannot be written goes unsaid: the switch holds for this run all the same.
void LanguageSwitch::Switch(Language language) {
    Q_EMIT UserMacrosReplacing();
    const LanguageSwitchResult result = session_.SwitchLanguage(
        language, [&] { return LoadSkin(skinDirectory_, language, skin_, messages_, caption_); });
    if (!result.skinLoaded) {
        Q_EMIT SkinMissing();
        return;
    }
    for (const FileFault& fault : result.faults) {
        if (fault.kind == FileFault::Kind::Unreadable)
            messages_.ShowMessage(caption_,
                                  std::string(Text(TextId::CannotReadFile, language)) + "\n" + PathToUtf8(fault.file));
    }
    Q_EMIT LanguageChanged(language);
}

}  // namespace orv
