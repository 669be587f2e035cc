#include "DataWriter.h"

#include <QFile>
#include <QImageWriter>
#include <functional>
#include <initializer_list>
#include <string>
#include <system_error>
#include <vector>

#include "SkinPainter.h"
#include "common/Messages.h"
#include "common/Utf.h"
#include "common/IniFile.h"
#include "macro/KeyCodes.h"
#include "macro/MacroFile.h"
#include "settings/ConfigFile.h"
#include "skin/PictureDensity.h"

namespace orv::skin {

namespace {

// ---- Description files ------------------------------------------------------------------

class DescriptionFile {
public:
    DescriptionFile() { text_ = "; Written by the skin generator in tools/skin: edit the layout there.\r\n"; }

    void Section(const char* name) { text_ += QStringLiteral("\r\n[%1]\r\n").arg(QString::fromUtf8(name)); }

    void Key(int key, const QString& value) { text_ += QStringLiteral("%1=%2\r\n").arg(key).arg(value); }

    // x, y, width, height and the label, each closed by its comma.
    void Rect(int key, const QRect& r, const char* label) {
        const QString text = QString::fromUtf8(label);
        if (text.contains(QLatin1Char(','))) {
            throw std::logic_error("a skin label cannot contain a comma");
        }
        Key(key, QStringLiteral("%1,%2,%3,%4,%5,").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).arg(text));
    }

    bool Save(const std::filesystem::path& path, QString& error) const {
        QFile file(QString::fromStdString(PathToUtf8(path)));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            error = QStringLiteral("cannot write %1").arg(file.fileName());
            return false;
        }
        file.write(text_.toUtf8());
        return true;
    }

private:
    QString text_;
};

void Regions(DescriptionFile& file, const Page& page, bool english) {
    file.Section("BUTTONPOS");
    for (const Region& region : page.regions) {
        file.Rect(region.index, region.rect, english ? region.en : region.cn);
    }
}

bool WriteDescriptionFiles(const std::filesystem::path& skins, QString& error) {
    for (const bool english : {true, false}) {
        const std::filesystem::path folder = skins / (english ? "INI_EN" : "INI_CN");
        const char* suffix = english ? "_en" : "";
        auto name = [&](const char* stem) { return folder / (std::string(stem) + suffix + ".ini"); };

        DescriptionFile main;
        Regions(main, MainPage(), english);
        main.Section("FUN_STRING");
        for (int code = 1; code < static_cast<int>(FunctionNames().size()); ++code) {
            const FunctionName& n = FunctionNames()[static_cast<size_t>(code)];
            main.Key(code, QString::fromUtf8(english ? n.en : n.cn) + QLatin1Char(','));
        }

        DescriptionFile color;
        Regions(color, ColorPage(), english);

        DescriptionFile advanced;
        Regions(advanced, AdvancedPage(), english);
        const auto& controls = ControlRects();
        advanced.Section("EDIT");
        advanced.Rect(3, controls[0], "");
        advanced.Rect(4, controls[1], "");
        advanced.Section("MACRODISPLAY");
        advanced.Rect(1, controls[2], "");
        advanced.Rect(2, controls[3], "");

        DescriptionFile warning;
        Regions(warning, WarningPopup(), english);

        if (!main.Save(name("skin_main"), error) || !color.Save(name("skin_color"), error) ||
            !advanced.Save(name("skin_advance"), error) || !warning.Save(name("LBWarning"), error)) {
            return false;
        }
    }
    return true;
}

// ---- Pictures --------------------------------------------------------------------------

struct Picture {
    const char* name;
    std::function<QImage(int scale)> paint;
};

std::function<QImage(int)> Page(WindowPage page, State state, Light light = Light::Pink) {
    return [=](int scale) { return PaintWindowPage(page, state, light, scale); };
}

std::function<QImage(int)> Drawn(QImage (*paint)(State, int), State state) {
    return [=](int scale) { return paint(state, scale); };
}

const Picture kPictures[] = {
    {"main_mask.jpg", PaintWindowMask},
    {"main_normal.jpg", Page(WindowPage::Main, State::Normal)},
    {"main_over.jpg", Page(WindowPage::Main, State::Over)},
    {"main_down.jpg", Page(WindowPage::Main, State::Down)},
    {"advanced_normal.jpg", Page(WindowPage::Advanced, State::Normal)},
    {"advanced_over.jpg", Page(WindowPage::Advanced, State::Over)},
    {"advanced_down.jpg", Page(WindowPage::Advanced, State::Down)},
    {"color_normal_pink.jpg", Page(WindowPage::Color, State::Normal, Light::Pink)},
    {"color_over_red.jpg", Page(WindowPage::Color, State::Over, Light::Red)},
    {"color_down_purple.jpg", Page(WindowPage::Color, State::Down, Light::Purple)},
    {"color_normal_gray.jpg", Page(WindowPage::Color, State::Normal, Light::Dark)},
    {"color_over_blue.jpg", Page(WindowPage::Color, State::Over, Light::Blue)},
    {"menu_mask.jpg", PaintMenuMask},
    {"menu_normal.jpg", Drawn(PaintMenu, State::Normal)},
    {"menu_over.jpg", Drawn(PaintMenu, State::Over)},
    {"menu_down.jpg", Drawn(PaintMenu, State::Down)},
    {"advanced menu_mask.jpg", PaintSubMenuMask},
    {"advanced menu_normal.jpg", Drawn(PaintSubMenu, State::Normal)},
    {"advanced menu_over.jpg", Drawn(PaintSubMenu, State::Over)},
    {"advanced menu_down.jpg", Drawn(PaintSubMenu, State::Down)},
    {"warning_mask.jpg", PaintWarningMask},
    {"warning_normal.jpg", Drawn(PaintWarning, State::Normal)},
    {"warning_over.jpg", Drawn(PaintWarning, State::Over)},
};

bool WritePicture(const std::filesystem::path& file, const QImage& image, QString& error) {
    QImageWriter writer(QString::fromStdString(PathToUtf8(file)), "jpg");
    // High quality keeps one-pixel edges and the mask's outline crisp.
    writer.setQuality(96);
    writer.setOptimizedWrite(true);
    if (!writer.write(image)) {
        error = QStringLiteral("cannot write %1: %2").arg(writer.fileName(), writer.errorString());
        return false;
    }
    return true;
}

bool WritePictures(const std::filesystem::path& skins, QString& error) {
    for (const Picture& picture : kPictures) {
        if (!WritePicture(skins / picture.name, picture.paint(1), error) ||
            !WritePicture(HighDensityPicture(skins / picture.name), picture.paint(kHighDensityScale), error)) {
            return false;
        }
    }
    return true;
}

// ---- Macros ----------------------------------------------------------------------------

struct Event {
    uint8_t usage;
    uint8_t action;
    uint16_t delay;
};

constexpr uint8_t kDown = MacroSlot::kPress;
constexpr uint8_t kUp = MacroSlot::kRelease;
constexpr uint8_t kCtrl = 0xE0;
constexpr uint8_t kShift = 0xE1;
constexpr uint8_t kWin = 0xE3;
constexpr uint8_t kLeftButton = 0xF0;
constexpr uint8_t kReturn = 0x28;
constexpr uint8_t kPrintScreen = 0x46;

constexpr uint8_t Letter(char c) { return static_cast<uint8_t>(0x04 + (c - 'A')); }

// A modifier held around one key, the usual shortcut.
std::vector<Event> Chord(uint8_t modifier, uint8_t key) {
    return {{modifier, kDown, 30}, {key, kDown, 40}, {key, kUp, 30}, {modifier, kUp, 30}};
}

struct MacroDef {
    const char* name;
    std::vector<Event> events;
    uint16_t repeatCount = 1;
};

void Fill(MacroSlot& slot, const MacroDef& def) {
    slot.Clear();
    slot.SetName(Utf8ToUtf16(def.name));
    slot.SetRepeatOn(def.repeatCount > 1 ? 1 : 0);
    slot.SetRepeatCount(def.repeatCount);
    slot.SetEventCount(static_cast<uint8_t>(def.events.size()));
    for (size_t k = 0; k < def.events.size(); ++k) {
        slot.SetEvent(k, def.events[k].usage, def.events[k].action, def.events[k].delay);
    }
}

// The constant macros, in the order of FunctionCode 31..38.
std::vector<MacroDef> ConstantMacros() {
    return {
        {"Copy", Chord(kCtrl, Letter('C'))},
        {"Paste", Chord(kCtrl, Letter('V'))},
        {"Cut", Chord(kCtrl, Letter('X'))},
        {"Undo", Chord(kCtrl, Letter('Z'))},
        {"Select All", Chord(kCtrl, Letter('A'))},
        {"Double Click",
         {{kLeftButton, kDown, 20}, {kLeftButton, kUp, 40}, {kLeftButton, kDown, 20}, {kLeftButton, kUp, 20}}},
        {"Save", Chord(kCtrl, Letter('S'))},
        {"Show Desktop", Chord(kWin, Letter('D'))},
    };
}

std::vector<MacroDef> ExampleMacros(bool english) {
    std::vector<Event> gg = {{kReturn, kDown, 30},     {kReturn, kUp, 80},     {kShift, kDown, 30},
                             {Letter('G'), kDown, 30}, {Letter('G'), kUp, 30}, {Letter('G'), kDown, 30},
                             {Letter('G'), kUp, 30},   {kShift, kUp, 30},      {kReturn, kDown, 30},
                             {kReturn, kUp, 30}};
    return {
        {english ? "Burst Fire" : "三连发", {{kLeftButton, kDown, 25}, {kLeftButton, kUp, 45}}, 3},
        {english ? "Screenshot" : "截图", {{kPrintScreen, kDown, 30}, {kPrintScreen, kUp, 30}}},
        {english ? "New Tab" : "新建标签页", Chord(kCtrl, Letter('T'))},
        {english ? "Type GG" : "发送 GG", gg},
    };
}

bool SaveMacros(const std::filesystem::path& path, const std::vector<MacroDef>& macros, QString& error) {
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    MacroStore store;
    for (size_t i = 0; i < macros.size(); ++i) {
        Fill(store.User(static_cast<int>(i)), macros[i]);
    }
    store.macroCount = static_cast<int16_t>(macros.size());
    if (!SaveMacroFile(path, store)) {
        error = QStringLiteral("cannot write %1").arg(QString::fromStdString(PathToUtf8(path)));
        return false;
    }
    return true;
}

bool WriteMacroFiles(const std::filesystem::path& data, QString& error) {
    return SaveMacros(data / "constMacro.dat", ConstantMacros(), error) &&
           SaveMacros(data / "skins" / "INI_EN" / "defMacro.dat", ExampleMacros(true), error) &&
           SaveMacros(data / "skins" / "INI_CN" / "defMacro.dat", ExampleMacros(false), error) &&
           SaveMacros(data / "Macro_EN.dat", ExampleMacros(true), error) &&
           SaveMacros(data / "Macro_CN.dat", ExampleMacros(false), error);
}

// ---- config.ini ------------------------------------------------------------------------

struct Preset {
    std::array<int32_t, 6> buttons;
    int32_t dpiLevel;
    std::array<uint8_t, 4> steps;
    std::array<uint8_t, 4> enabled;
    uint8_t led;
    uint8_t pointer;
    uint8_t wheel;
    int32_t wheelStatus;
    int32_t fireTime;
    uint8_t rate;
};

ProfileSettings FromPreset(const Preset& p) {
    ProfileSettings s;
    for (size_t i = 0; i < 6; ++i) {
        s.buttonFunction[i] = p.buttons[i];
    }
    s.dpiLevel = p.dpiLevel;
    for (size_t n = 0; n < 4; ++n) {
        s.dpiStep[n] = p.steps[n];
        s.dpiEnabled[n] = p.enabled[n];
    }
    s.ledStatus = p.led;
    s.pointerSpeed = p.pointer;
    s.wheelSpeed = p.wheel;
    s.wheelStatus = p.wheelStatus;
    s.fireTime = p.fireTime;
    s.reportRate = p.rate;
    s.macroMode = 0;
    return s;
}

// Buttons 0..5 are the left, middle and right buttons, the front and rear side buttons and
// the DPI button.
const Preset kShooter = {{1, 3, 2, 11, 16, 6}, 1, {1, 3, 6, 9}, {1, 1, 1, 1}, 2, 4, 2, 0, 60, 3};
const Preset kStrategy = {{1, 3, 2, 36, 4, 6}, 0, {5, 6, 7, 8}, {1, 1, 1, 0}, 0, 5, 2, 0, 50, 2};
const Preset kOffice = {{1, 3, 2, 32, 31, 34}, 0, {3, 4, 5, 6}, {1, 1, 0, 0}, 3, 5, 3, 0, 50, 1};
const Preset kMediaCn = {{1, 3, 2, 24, 25, 41}, 0, {3, 5, 7, 9}, {1, 1, 1, 1}, 1, 4, 2, 0, 50, 2};
const Preset kMediaEn = {{1, 29, 2, 27, 26, 42}, 0, {3, 5, 7, 9}, {1, 1, 1, 1}, 1, 4, 2, 0, 50, 2};

bool WriteSection(const std::filesystem::path& file, const std::string& section, const ProfileSettings& s) {
    bool ok = true;
    for (const auto& [key, value] : ProfileKeyValues(s)) {
        ok = ini::Write(file, section, key, value) && ok;
    }
    return ok;
}

bool WriteConfig(const std::filesystem::path& data, QString& error) {
    const std::filesystem::path file = data / "config.ini";
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    ProfileSettings factory;
    SetFactorySettings(factory);
    factory.macroMode = 0;
    bool ok = SaveCurrentProfile(file, 1) && SaveLanguage(file, Language::English());
    // A fresh installation starts with every profile at its factory values; English is the
    // installed language, so profile 5 starts as the English preset.
    const ProfileSettings profiles[] = {factory, FromPreset(kShooter), FromPreset(kStrategy), FromPreset(kOffice),
                                        FromPreset(kMediaEn)};
    for (int n = 1; n <= 5; ++n) {
        ok = WriteSection(file, ProfileSection(n), profiles[n - 1]) && ok;
    }
    ok = WriteSection(file, ResetSection(2, Language::Chinese()), FromPreset(kShooter)) && ok;
    ok = WriteSection(file, ResetSection(3, Language::Chinese()), FromPreset(kStrategy)) && ok;
    ok = WriteSection(file, ResetSection(4, Language::Chinese()), FromPreset(kOffice)) && ok;
    ok = WriteSection(file, ResetSection(5, Language::Chinese()), FromPreset(kMediaCn)) && ok;
    ok = WriteSection(file, ResetSection(5, Language::English()), FromPreset(kMediaEn)) && ok;
    if (!ok) {
        error = QStringLiteral("cannot write %1").arg(QString::fromStdString(PathToUtf8(file)));
    }
    return ok;
}

bool MakeFolders(const std::filesystem::path& data, QString& error) {
    std::error_code code;
    for (const char* folder : {"skins/INI_EN", "skins/INI_CN"}) {
        std::filesystem::create_directories(data / folder, code);
        if (code) {
            error = QStringLiteral("cannot create %1").arg(QString::fromStdString(PathToUtf8(data / folder)));
            return false;
        }
    }
    return true;
}

}  // namespace

bool WriteDataFiles(const std::filesystem::path& dataDir, QString& error) {
    try {
        return MakeFolders(dataDir, error) && WriteDescriptionFiles(dataDir / "skins", error) &&
               WritePictures(dataDir / "skins", error) && WriteMacroFiles(dataDir, error) &&
               WriteConfig(dataDir, error);
    } catch (const std::logic_error& e) {
        error = QString::fromUtf8(e.what());
        return false;
    }
}

QStringList PictureNames(int scale) {
    QStringList names;
    for (const Picture& picture : kPictures) {
        const std::filesystem::path name = PathFromUtf8(picture.name);
        names << QString::fromStdString(PathToUtf8(scale == 1 ? name : HighDensityPicture(name)));
    }
    return names;
}

QStringList TextFileNames() {
    return {QStringLiteral("config.ini"),
            QStringLiteral("constMacro.dat"),
            QStringLiteral("Macro_EN.dat"),
            QStringLiteral("Macro_CN.dat"),
            QStringLiteral("skins/INI_EN/defMacro.dat"),
            QStringLiteral("skins/INI_CN/defMacro.dat"),
            QStringLiteral("skins/INI_EN/skin_main_en.ini"),
            QStringLiteral("skins/INI_EN/skin_color_en.ini"),
            QStringLiteral("skins/INI_EN/skin_advance_en.ini"),
            QStringLiteral("skins/INI_EN/LBWarning_en.ini"),
            QStringLiteral("skins/INI_CN/skin_main.ini"),
            QStringLiteral("skins/INI_CN/skin_color.ini"),
            QStringLiteral("skins/INI_CN/skin_advance.ini"),
            QStringLiteral("skins/INI_CN/LBWarning.ini")};
}

}  // namespace orv::skin
