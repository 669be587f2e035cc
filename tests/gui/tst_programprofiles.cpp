// Profiles that follow the program in front, in the window: the watch's changes taken on the
// window's thread, the rules file's faults, and the dialog that edits the rules.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <fstream>
#include <thread>
#include <vector>

#include "common/Utf.h"
#include "settings/ProgramRules.h"
#include "ui/ProgramProfiles.h"
#include "ui/ProgramProfilesDialog.h"

using namespace orv;

namespace {

class FakeWatch : public FrontWindowWatch {
public:
    explicit FakeWatch(int& alive) : alive_(alive) { ++alive_; }
    ~FakeWatch() override { --alive_; }

private:
    int& alive_;
};

// A ProgramProfiles over a folder of its own, with a watch the test drives and the window's
// hooks recorded.
struct Rig {
    Rig() {
        ProgramProfiles::Hooks hooks;
        hooks.chooseAndApply = [this](int32_t n) {
            switched.push_back(n);
            inUse = n;
        };
        hooks.inUse = [this] { return inUse; };
        hooks.tell = [this](TextId text, const std::filesystem::path&) { told.push_back(text); };
        hooks.watch = [this](FrontWindowWatch::Changed changed, FrontWatchUnavailable& why) {
            tellChange = std::move(changed);
            why = FrontWatchUnavailable::None;
            return std::make_unique<FakeWatch>(watches);
        };
        profiles = std::make_unique<ProgramProfiles>(File(), std::move(hooks));
    }

    std::filesystem::path File() const { return ProgramRulesPath(PathFromUtf8(dir.path().toStdString())); }
    void Write(const std::string& text) const { std::ofstream(File(), std::ios::binary) << text; }
    std::string Bytes() const {
        std::ifstream in(File(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // As the system's watch does it: from a thread of its own.
    void Front(const char* program) {
        std::thread([&] { tellChange({program, ""}); }).join();
    }

    QTemporaryDir dir;
    std::vector<int32_t> switched;
    int32_t inUse = 1;
    std::vector<TextId> told;
    FrontWindowWatch::Changed tellChange;
    int watches = 0;
    std::unique_ptr<ProgramProfiles> profiles;
};

}  // namespace

class TestProgramProfiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void changesFromTheWatchSwitchOnTheWindowsThread() {
        Rig rig;
        rig.Write("[Follow]\nEnabled=1\nRules=2\n[Rule1]\nProgram=game\nProfile=3\n[Rule2]\nProgram=tool\nProfile=4\n");
        rig.profiles->Load();
        QCOMPARE(rig.watches, 1);
        rig.Front("game");
        QVERIFY(rig.switched.empty());  // not on the watch's thread
        QTRY_COMPARE(rig.switched, (std::vector<int32_t>{3}));
        // Within the coalescing time of the last switch, a change waits for the timer; later,
        // it is taken at once. Either way it is taken once.
        rig.Front("tool");
        QTRY_COMPARE(rig.switched, (std::vector<int32_t>{3, 4}));
    }

    void aDamagedFileIsToldOnceIgnoredAndKept() {
        Rig rig;
        const std::string damaged = "[Follow]\nEnabled=1\nRules=1\n[Rule1]\nProgram=game\nProfile=9\n";
        rig.Write(damaged);
        rig.profiles->Load();
        rig.profiles->Load();
        QCOMPARE(rig.told, (std::vector<TextId>{TextId::ProgramRulesDamaged}));
        QCOMPARE(rig.watches, 0);

        ProgramProfilesDialog dialog(*rig.profiles, Language::English());
        QVERIFY(!dialog.Note()->isHidden());
        QVERIFY(dialog.Note()->text().contains("damaged"));
        QVERIFY(!dialog.AddButton()->isEnabled());
        QVERIFY(!dialog.FollowSwitch()->isEnabled());
        QCOMPARE(rig.Bytes(), damaged);
    }

    void theDialogSavesEachChangeAndTheWatchFollowsTheSwitch() {
        Rig rig;
        ProgramProfilesDialog dialog(*rig.profiles, Language::Chinese());
        QVERIFY(!dialog.FollowSwitch()->isChecked());
        dialog.SetAsker([](ProgramRule& rule) {
            rule = {"steam", "", 2};
            return true;
        });
        QTest::mouseClick(dialog.AddButton(), Qt::LeftButton);
        RulesRead read = LoadProgramRules(rig.File());
        QCOMPARE(read.found, RulesFound::Read);
        QVERIFY(read.rules.enabled);  // the first rule turns following on
        QCOMPARE(read.rules.rules, (std::vector<ProgramRule>{{"steam", "", 2}}));
        QVERIFY(dialog.FollowSwitch()->isChecked());
        QCOMPARE(dialog.RuleList()->topLevelItemCount(), 1);
        QCOMPARE(rig.watches, 1);

        dialog.NoRuleChoice()->setCurrentIndex(3);
        QCOMPARE(LoadProgramRules(rig.File()).rules.noRuleProfile, 3);

        dialog.RuleList()->setFocus();
        dialog.RuleList()->setCurrentItem(dialog.RuleList()->topLevelItem(0));
        QTest::keyClick(dialog.RuleList(), Qt::Key_Delete);
        QVERIFY(LoadProgramRules(rig.File()).rules.rules.empty());
        QCOMPARE(dialog.RuleList()->topLevelItemCount(), 0);

        dialog.FollowSwitch()->setChecked(false);
        QVERIFY(!LoadProgramRules(rig.File()).rules.enabled);
        QCOMPARE(rig.watches, 0);
        QVERIFY(rig.told.empty());
    }
};

QTEST_MAIN(TestProgramProfiles)
#include "tst_programprofiles.moc"
