#include "ui/PageModel.h"

#include "common/Utf.h"
#include "session/Session.h"

namespace orv {

PageModel PageModel::Of(Session& session, const SkinLayout& skin) {
    return {session.Settings(),
            session.CurrentProfile(),
            session.CurrentLanguage(),
            session.Macros(),
            session.Applied(),
            skin,
            session.Folders().SkinDirectory};
}

std::string PageModel::UserMacroName(int slot) const {
    if (slot < 0 || slot >= MacroStore::kUserSlots)
        return {};
    return Utf16ToUtf8(macros.User(slot).name());
}

}  // namespace orv
