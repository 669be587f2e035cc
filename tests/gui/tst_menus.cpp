// The function menus of the button boxes, the left-button warning and the owner-drawn pop-up
// menus, on a synthetic skin whose pictures are flat colours. The offscreen system shows two
// screens side by side: a large one, where the menus have room, and a small one right of it.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "PagesFixture.h"
#include "ui/ownerdrawnmenus/COrvMenu.h"
#include "ui/ComposeFrame.h"
#include "ui/FunctionMenus.h"
#include "ui/ownerdrawnmenus/OwnerDrawnMenus.h"
#include "ui/UiText.h"
#include "ui/WarningDlg.h"

using orv::CMenuDlg;
using orv::CSubMenuDlg;
using orv::Language;
using orv::testing::NearColour;
using orv::testing::PagesFixture;
using orv::testing::SyntheticSkin;

namespace {

constexpr int kRow = 30;  // row height of both menu masks below
const QPoint kAnchor(300, 400);
const QRect kBox(300, 380, 60, 20);  // on the large screen, kAnchor below it
const QRect kLargeScreen(0, 0, 1280, 1024);
const QRect kSmallScreen(1280, 0, 640, 480);
const QColor kRed(255, 0, 0);

QPoint RowCentre(int row) { return {80, kRow * (row - 1) + kRow / 2}; }

void SendMouse(QWidget& widget, QEvent::Type type, QPoint point) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent event(type, point, widget.mapToGlobal(point), button, held, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

void MoveTo(QWidget& widget, QPoint point) { SendMouse(widget, QEvent::MouseMove, point); }

void ClickAt(QWidget& widget, QPoint point) {
    SendMouse(widget, QEvent::MouseMove, point);
    SendMouse(widget, QEvent::MouseButtonPress, point);
    SendMouse(widget, QEvent::MouseButtonRelease, point);
}

void SendKey(QWidget& widget, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &press);
}

bool HasColour(const QImage& image, const QRect& area, const QColor& colour) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (NearColour(image.pixelColor(x, y), colour, 40))
                return true;
        }
    }
    return false;
}

// The pages' fixture with the real function menus: menu masks of 160 x 301 and 160 x 361 (rows
// of 30), and a 200 x 80 warning whose top-left 4 x 4 corner is light in its mask.
struct MenusFixture : PagesFixture {
    MenusFixture() {
        for (size_t code = 1; code < layout.FunctionNames.size(); ++code)
            layout.FunctionNames[code] = "F" + std::to_string(code);
        layout.WarningRegions = {orv::SkinRegion{10, 50, 60, 20, "OK"}, orv::SkinRegion{120, 50, 60, 20, "NO"},
                                 orv::SkinRegion{10, 10, 180, 30, "Last left click?"}};
        NameMacros({u"Alpha", u"Beta", u"Gamma", u"Delta", u"M4", u"M5", u"M6", u"M7", u"M8", u"M9", u"M10", u"M11"});
        macros.macroCount = 2;
        for (const char* menu : {"menu", "advanced menu"}) {
            const QSize size(160, std::string(menu) == "menu" ? 301 : 361);
            WritePicture(std::string(menu) + "_normal.jpg", size, SyntheticSkin::Normal());
            WritePicture(std::string(menu) + "_over.jpg", size, SyntheticSkin::Over());
            WritePicture(std::string(menu) + "_down.jpg", size, SyntheticSkin::Down());
            WritePicture(std::string(menu) + "_mask.jpg", size, Qt::black);
        }
        WritePicture("warning_normal.jpg", {200, 80}, SyntheticSkin::Normal());
        WritePicture("warning_over.jpg", {200, 80}, SyntheticSkin::Over());
        QImage mask(200, 80, QImage::Format_RGB32);
        mask.fill(Qt::black);
        QPainter(&mask).fillRect(0, 0, 4, 4, Qt::white);
        skin.WritePicture("warning_mask.jpg", mask);
    }

    void WritePicture(const std::string& name, QSize size, QColor colour) const {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(colour);
        skin.WritePicture(name, picture);
    }

    // Buttons whose functions make box 27 (button 2) the only left click.
    void OnlyButtonTwoClicks() {
        const int32_t functions[] = {9, 9, 1, 9, 9, 9};
        for (size_t i = 0; i < 6; ++i)
            settings.buttonFunction[i] = functions[i];
    }

    CMenuDlg& Open(int button = 2, QRect box = kBox) {
        menus.OpenFunctionMenu(button, box);
        return *OpenMenu();
    }

    void PaintMainWindow() {
        QImage canvas(skin.Size(), QImage::Format_RGB32);
        QPainter painter(&canvas);
        pages.PaintMainWindow(painter);
    }

    // The open function menu, found by its title as other windows find it; null when none is.
    CMenuDlg* OpenMenu() const {
        for (auto* menu : window.findChildren<CMenuDlg*>()) {
            if (menu->isVisible() && menu->windowTitle() == QStringLiteral("MainMenuDlg"))
                return menu;
        }
        return nullptr;
    }

    orv::FunctionMenus menus{Context()};
};

}  // namespace

class MenusTest : public QObject {
    Q_OBJECT

public:
    static void initMain() {
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" ORV_SOURCE_DIR "/tests/gui/two_screens.json");
    }

private Q_SLOTS:
    void mainMenuRowsFromThe160By301Mask();
    void hoveredAndPressedRowsComeFromTheirPictures();
    void mainMenuChoiceKeepsALeftClick();
    void subMenuPagesOpenBesideTheirRow();
    void subMenuChoiceClosesAtTheNextPaint();
    void aClickOnTheMainPageClosesTheOpenMenu();
    void warningResults();
    void warningShapeAndLook();
    void warningWithoutItsPicturesDoesNotBlock();
    void menusAndWarningStayOnTheScreenOfTheirBox();
    void ownerDrawnMenusStayOnTheScreen();
    void ownerDrawnMenusMeasureTheirCaptions();
    void featureEntriesSitBetweenTheTrayItems();
    void ownerDrawnItemsAreBarsAndGradients();
    void ownerDrawnMenusKeepKeyboardNavigation();
};

void MenusTest::mainMenuRowsFromThe160By301Mask() {
    MenusFixture f;
    const int32_t function = f.settings.buttonFunction[2];
    CMenuDlg& menu = f.Open();
    QVERIFY(menu.isVisible());
    QCOMPARE(menu.geometry(), QRect(kAnchor, QSize(160, 301)));
    QCOMPARE(menu.windowTitle(), QStringLiteral("MainMenuDlg"));
    QCOMPARE(menu.RowTexts(), (QStringList{"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10"}));

    // The bottom pixel line is row 11, and releasing there chooses nothing.
    ClickAt(menu, {80, 300});
    QCOMPARE(menu.Hover(), 11);
    QCOMPARE(f.settings.buttonFunction[2].load(), function);
    QVERIFY(menu.isVisible());
}

void MenusTest::hoveredAndPressedRowsComeFromTheirPictures() {
    MenusFixture f;
    CMenuDlg& menu = f.Open();
    MoveTo(menu, RowCentre(3));
    QImage picture = menu.grab().toImage();
    const QPoint emptyPart(150, 2);  // right of the centred texts
    QVERIFY(NearColour(picture.pixelColor(emptyPart + QPoint(0, 2 * kRow)), SyntheticSkin::Over()));
    QVERIFY(NearColour(picture.pixelColor(emptyPart + QPoint(0, 3 * kRow)), SyntheticSkin::Normal()));
    QVERIFY(HasColour(picture, QRect(0, 2 * kRow, 160, kRow), kRed));
    QVERIFY(!HasColour(picture, QRect(0, 3 * kRow, 160, kRow), kRed));

    SendMouse(menu, QEvent::MouseButtonPress, RowCentre(3));
    picture = menu.grab().toImage();
    QVERIFY(menu.Pressed());
    QVERIFY(NearColour(picture.pixelColor(emptyPart + QPoint(0, 2 * kRow)), SyntheticSkin::Down()));
}

void MenusTest::mainMenuChoiceKeepsALeftClick() {
    MenusFixture f;
    f.OnlyButtonTwoClicks();
    QPointer<CMenuDlg> menu = &f.Open();
    ClickAt(*menu, RowCentre(3));
    QCOMPARE(f.settings.buttonFunction[2].load(), 3);
    QCOMPARE(f.settings.buttonFunction[3].load(), 1);
    QVERIFY(!menu->isVisible());
    QVERIFY(f.OpenMenu() == nullptr);
    QCOMPARE(f.log.calls.back(), std::string("Repaint"));  // the boxes show the choice at once
    QTRY_VERIFY(menu.isNull());
}

void MenusTest::subMenuPagesOpenBesideTheirRow() {
    struct Case {
        int row;
        int macroCount;
        int rows;
        int top;  // in rows from the menu's top
        QString firstText;
    };
    const Case cases[] = {
        {7, 2, 6, 1, "F11"},      {8, 2, 10, -2, "F21"},
        {10, 2, 8, 2, "F31"},     {9, 1, 1, 8, "Alpha"},  // level with row 9
        {9, 12, 12, -3, "Alpha"},                         // three rows above the menu
    };
    for (const Case& c : cases) {
        MenusFixture f;
        f.macros.macroCount = static_cast<int16_t>(c.macroCount);
        CMenuDlg& menu = f.Open();
        MoveTo(menu, RowCentre(c.row));
        const CSubMenuDlg* sub = menu.SubMenu();
        QVERIFY(sub != nullptr);
        QVERIFY(sub->isVisible());
        QCOMPARE(sub->Rows(), c.rows);
        QCOMPARE(sub->geometry(), QRect(kAnchor + QPoint(160, c.top * kRow), QSize(160, c.rows * kRow + 1)));
        QCOMPARE(sub->RowTexts().front(), c.firstText);
    }

    MenusFixture f;
    CMenuDlg& menu = f.Open();
    MoveTo(menu, RowCentre(8));
    QPointer<CSubMenuDlg> multimedia = menu.SubMenu();
    MoveTo(menu, RowCentre(8) + QPoint(20, 5));  // within the row: the same sub-menu
    QCOMPARE(menu.SubMenu(), multimedia.data());
    MoveTo(menu, RowCentre(7));
    QVERIFY(menu.SubMenu() != multimedia.data());
    QCOMPARE(menu.SubMenu()->geometry().top(), kAnchor.y() + kRow);
    QTRY_VERIFY(multimedia.isNull());
    MoveTo(menu, RowCentre(3));
    QVERIFY(menu.SubMenu() == nullptr);

    f.macros.macroCount = 0;  // an empty page has nothing to show or choose
    MoveTo(menu, RowCentre(9));
    QVERIFY(menu.SubMenu() == nullptr);
}

void MenusTest::subMenuChoiceClosesAtTheNextPaint() {
    MenusFixture f;
    f.settings.buttonFunction[0] = 1;
    f.settings.buttonFunction[5] = 1;
    QPointer<CMenuDlg> menu = &f.Open(5);
    MoveTo(*menu, RowCentre(9));
    CSubMenuDlg& sub = *menu->SubMenu();

    // Below the last row nothing is chosen (never 255 plus the page's offset).
    ClickAt(sub, {80, 2 * kRow});
    QCOMPARE(f.settings.buttonFunction[5].load(), 1);
    QVERIFY(sub.isVisible());

    f.log.calls.clear();
    ClickAt(sub, {80, kRow + kRow / 2});  // "Beta", user macro 1
    QCOMPARE(f.settings.buttonFunction[5].load(), 42);
    QVERIFY(!menu->isVisible());
    QCOMPARE(f.log.calls, (std::vector<std::string>{"Repaint"}));  // the box shows the choice at once
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!menu.isNull());  // kept until the window paints
    f.PaintMainWindow();      // and that paint closes the menu
    QTRY_VERIFY(menu.isNull());
    f.PaintMainWindow();  // the next one finds nothing to close
}

void MenusTest::aClickOnTheMainPageClosesTheOpenMenu() {
    using namespace orv::region::main;
    MenusFixture f;
    for (auto& code : f.settings.buttonFunction)
        code = 9;
    f.settings.buttonFunction[0] = 1;
    f.settings.buttonFunction[1] = 1;
    // Buttons 0 and 1 still click: the menu for button 2 opens at once, below its box.
    f.Click(f.MainCentre(ButtonBox(2)));
    QPointer<CMenuDlg> first = f.OpenMenu();
    QVERIFY(first != nullptr);
    const auto& box = f.layout.MainRegions[ButtonBox(2)];
    QCOMPARE(first->geometry().topLeft(), QPoint(300 + box.x, 200 + box.y + box.height));

    // A click on another box closes it and opens the next one; any other click only closes.
    f.Click(f.MainCentre(ButtonBox(3)));
    QVERIFY(f.OpenMenu() != nullptr && f.OpenMenu() != first.data());
    QTRY_VERIFY(first.isNull());
    f.settings.wheelStatus = 0;
    f.Click(f.MainCentre(WheelStatusSwitch(1)));
    QVERIFY(f.OpenMenu() == nullptr);
    QCOMPARE(f.settings.wheelStatus.load(), 1);
}

void MenusTest::warningResults() {
    using Act = std::function<void(orv::WarningDlg&)>;
    struct Case {
        const char* name;
        Act act;
        int result;
    };
    MenusFixture f;
    const QPoint confirm = PagesFixture::Centre(f.layout.WarningRegions[0]);
    const QPoint cancel = PagesFixture::Centre(f.layout.WarningRegions[1]);
    const Case cases[] = {
        {"confirming button", [&](orv::WarningDlg& w) { ClickAt(w, confirm); }, orv::kWarningConfirmed},
        {"cancelling button", [&](orv::WarningDlg& w) { ClickAt(w, cancel); }, orv::kWarningCancelled},
        {"Escape after a click on the message",
         [&](orv::WarningDlg& w) {
             ClickAt(w, {100, 20});
             QVERIFY(w.isVisible());
             SendKey(w, Qt::Key_Escape);
         },
         orv::kWarningCancelled},
        {"Return", [](orv::WarningDlg& w) { SendKey(w, Qt::Key_Return); }, orv::kWarningConfirmed},
    };
    for (const Case& c : cases) {
        QTimer::singleShot(0, [&] {
            auto* warning = dynamic_cast<orv::WarningDlg*>(QApplication::activeModalWidget());
            QVERIFY2(warning != nullptr, c.name);
            c.act(*warning);
        });
        QCOMPARE(f.menus.ShowLeftButtonWarning(kBox), c.result);
    }

    // Through the pages: cancelling opens no menu, confirming opens it where the warning was.
    for (int result : {orv::kWarningCancelled, orv::kWarningConfirmed}) {
        f.OnlyButtonTwoClicks();
        QTimer::singleShot(0, [&] {
            SendKey(*QApplication::activeModalWidget(),
                    result == orv::kWarningCancelled ? Qt::Key_Escape : Qt::Key_Return);
        });
        f.Click(f.MainCentre(orv::region::main::ButtonBox(2)));
        QCOMPARE(f.OpenMenu() != nullptr, result == orv::kWarningConfirmed);
    }
    // Where the warning was: below the box on the screen (the window's corner is at 300, 200).
    const auto& box = f.layout.MainRegions[orv::region::main::ButtonBox(2)];
    QCOMPARE(f.OpenMenu()->geometry().topLeft(), QPoint(300 + box.x, 200 + box.y + box.height));
}

void MenusTest::warningShapeAndLook() {
    MenusFixture f;
    orv::PictureCache pictures;
    orv::WarningDlg warning({f.model, f.pages.Fonts(), pictures}, kBox, &f.window);
    QVERIFY(warning.IsShaped());
    QCOMPARE(warning.geometry(), QRect(kAnchor, QSize(200, 80)));
    QVERIFY(!warning.mask().contains(QPoint(1, 1)));  // the light corner is cut away
    QVERIFY(warning.mask().contains(QPoint(5, 5)));

    int paints = 0;
    struct PaintCounter : QObject {
        int& count;
        explicit PaintCounter(int& c) : count(c) {}
        bool eventFilter(QObject*, QEvent* event) override {
            count += event->type() == QEvent::Paint ? 1 : 0;
            return false;
        }
    } counter(paints);
    warning.show();
    QCoreApplication::processEvents();
    warning.installEventFilter(&counter);
    const QRect confirm = orv::RegionRect(f.layout.WarningRegions[0]);
    const QRect cancel = orv::RegionRect(f.layout.WarningRegions[1]);
    MoveTo(warning, confirm.center());
    QCoreApplication::processEvents();
    MoveTo(warning, confirm.center() + QPoint(3, 1));  // within the button: no repaint
    QCoreApplication::processEvents();
    QCOMPARE(paints, 1);
    MoveTo(warning, cancel.center());
    QCoreApplication::processEvents();
    QCOMPARE(paints, 2);
    QCOMPARE(warning.WarningHover(), 2);

    const QImage picture = warning.grab().toImage();
    QVERIFY(NearColour(picture.pixelColor(cancel.topLeft() + QPoint(1, 1)), SyntheticSkin::Over()));
    QVERIFY(NearColour(picture.pixelColor(confirm.topLeft() + QPoint(1, 1)), SyntheticSkin::Normal()));
    for (const QRect& text : {confirm, cancel, orv::RegionRect(f.layout.WarningRegions[2])})
        QVERIFY(HasColour(picture, text, kRed));
    warning.hide();
}

void MenusTest::warningWithoutItsPicturesDoesNotBlock() {
    MenusFixture f;
    std::filesystem::remove(f.skin.SkinDirectory() / "warning_mask.jpg");
    QCOMPARE(f.menus.ShowLeftButtonWarning(kBox), orv::kWarningConfirmed);
}

void MenusTest::menusAndWarningStayOnTheScreenOfTheirBox() {
    QCOMPARE(QGuiApplication::screens().size(), 2);
    struct Case {
        const char* where;
        QRect box;
        QRect screen;
        QPoint menu;     // its top-left corner
        QPoint warning;  // 200 x 80
        int subMenuX;    // of every sub-menu
    };
    const Case cases[] = {
        {"room below", kBox, kLargeScreen, kAnchor, kAnchor, 460},
        {"bottom: above the box", {1300, 440, 60, 20}, kSmallScreen, {1300, 139}, {1300, 360}, 1460},
        // Beside the small screen, yet the large one's edge counts.
        {"right edge", {1250, 100, 20, 20}, kLargeScreen, {1120, 120}, {1080, 120}, 960},
        {"neither above nor below", {1880, 200, 30, 20}, kSmallScreen, {1760, 179}, {1720, 220}, 1600},
        {"top: sub-menus kept below it", {1300, 0, 60, 20}, kSmallScreen, {1300, 20}, {1300, 20}, 1460},
    };
    for (const Case& c : cases) {
        MenusFixture f;
        f.macros.macroCount = 12;
        CMenuDlg& menu = f.Open(2, c.box);
        QVERIFY2(menu.geometry() == QRect(c.menu, QSize(160, 301)), c.where);
        for (int row = 7; row <= 10; ++row) {
            MoveTo(menu, RowCentre(row));
            const QRect sub = menu.SubMenu()->geometry();
            QVERIFY2(c.screen.contains(sub), c.where);
            QVERIFY2(sub.x() == c.subMenuX, c.where);
            // Its last row stays level with the row that opened it wherever the screen allows.
            const int level = c.menu.y() + row * kRow;
            QVERIFY2(sub.bottom() == level || sub.top() == c.screen.top() || sub.bottom() == c.screen.bottom(),
                     c.where);
        }
        orv::PictureCache pictures;
        orv::WarningDlg warning({f.model, f.pages.Fonts(), pictures}, c.box, &f.window);
        QVERIFY2(warning.geometry() == QRect(c.warning, QSize(200, 80)), c.where);
    }
}

void MenusTest::ownerDrawnMenusStayOnTheScreen() {
    for (const Language language : {Language::English(), Language::Chinese()}) {
        std::unique_ptr<orv::COrvMenu> menu(orv::CreateEventMenu(language, nullptr));
        menu->popup(kSmallScreen.bottomRight() - QPoint(5, 5));
        QVERIFY(QTest::qWaitForWindowExposed(menu.get()));
        QVERIFY(kSmallScreen.contains(menu->geometry()));
        QTest::keyClick(menu.get(), Qt::Key_Down);
        QTest::keyClick(menu.get(), Qt::Key_Right);  // "Add Forward"
        QWidget* sub = QApplication::activePopupWidget();
        QVERIFY(sub != nullptr && sub != menu.get());
        QVERIFY(kSmallScreen.contains(sub->geometry()));
        menu->close();
    }
}

void MenusTest::ownerDrawnMenusMeasureTheirCaptions() {
    struct Case {
        Language language;
        QSize trayItem;
        QSize trayMenu;
        int eventMenuWidth;
    };
    // Eight pixels per character and 20 high, with 12 to spare at the right for an arrow; the
    // widest item gives the menu its width.
    const Case cases[] = {
        {Language::English(), {11 * 8 + 12, 20}, {11 * 8 + 12, 40}, 12 * 8 + 12},  // "Add Backward"
        {Language::Chinese(), {7 * 8 + 12, 20}, {7 * 8 + 12, 40}, 8 * 8 + 12},     // "项前插入    "
    };
    for (const Case& c : cases) {
        orv::COrvMenu tray(QFont{});
        orv::LoadTrayMenu(tray, c.language);
        QCOMPARE(tray.actionGeometry(tray.actions().at(0)).size(), c.trayItem);
        QCOMPARE(tray.sizeHint(), c.trayMenu);

        std::unique_ptr<orv::COrvMenu> events(orv::CreateEventMenu(c.language, nullptr));
        QCOMPARE(events->sizeHint(), QSize(c.eventMenuWidth, 4 * 20));
    }
}

// A feature's entries come between "Show Window" and "Exit Driver" in the menu's language, act
// by themselves, and leave the two items their ids.
void MenusTest::featureEntriesSitBetweenTheTrayItems() {
    int chosen = 0;
    const orv::MenuEntry entries[] = {{orv::TextId::Record, [&chosen] { chosen = 1; }},
                                      {orv::TextId::Stop, [&chosen] { chosen = 2; }}};
    for (Language language : {Language::English(), Language::Chinese()}) {
        orv::COrvMenu tray(QFont{});
        orv::LoadTrayMenu(tray, language, entries);
        const auto actions = tray.actions();
        QCOMPARE(actions.size(), 4);
        QCOMPARE(orv::TrayCommandForId(orv::COrvMenu::ItemId(*actions[0])), orv::TrayCommand::ShowWindow);
        QCOMPARE(actions[1]->text(), orv::UiText(orv::TextId::Record, language));
        QCOMPARE(actions[2]->text(), orv::UiText(orv::TextId::Stop, language));
        QCOMPARE(orv::TrayCommandForId(orv::COrvMenu::ItemId(*actions[3])), orv::TrayCommand::ExitDriver);
        QVERIFY(!orv::TrayCommandForId(orv::COrvMenu::ItemId(*actions[2])));
        actions[2]->trigger();
        QCOMPARE(chosen, 2);
        chosen = 0;
    }
}

void MenusTest::ownerDrawnItemsAreBarsAndGradients() {
    orv::COrvMenu tray(QFont{});
    orv::LoadTrayMenu(tray, Language::English());
    tray.popup({0, 0});
    tray.setActiveAction(tray.actions().at(0));
    const QImage picture = tray.grab().toImage();
    tray.hide();

    // The highlighted item: a frame around 18 gradient lines, green stepping by 14.
    const int x = 5;  // left of the caption
    QCOMPARE(picture.pixelColor(x, 0), QColor(Qt::black));
    QCOMPARE(picture.pixelColor(x, 19), QColor(Qt::black));
    for (int k = 0; k < 18; ++k)
        QCOMPARE(picture.pixelColor(x, 1 + k), QColor(0, 14 * k, 255));
    // The other item: the teal bar with its caption in white from 10 pixels in.
    QCOMPARE(picture.pixelColor(x, 30), QColor(0, 120, 153));
    QVERIFY(HasColour(picture, QRect(10, 20, 40, 20), Qt::white));
}

void MenusTest::ownerDrawnMenusKeepKeyboardNavigation() {
    struct Case {
        Language language;
        std::vector<int> keys;
        int id;
    };
    const Case cases[] = {
        {Language::English(), {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}, 32780},  // Modify Delay
        {Language::Chinese(), {Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return}, 32835},
        {Language::English(),
         {Qt::Key_Down, Qt::Key_Right, Qt::Key_Right, Qt::Key_Return},
         32802},  // forward, left, down
        {Language::Chinese(),
         {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Down, Qt::Key_Down, Qt::Key_Right, Qt::Key_Down,
          Qt::Key_Return},
         32834},  // backward, middle, up
    };
    for (const Case& c : cases) {
        std::unique_ptr<orv::COrvMenu> menu(orv::CreateEventMenu(c.language, nullptr));
        QSignalSpy triggered(menu.get(), &QMenu::triggered);
        menu->popup({100, 100});
        QVERIFY(QTest::qWaitForWindowExposed(menu.get()));
        for (int key : c.keys) {
            QWidget* target = QApplication::activePopupWidget();
            QVERIFY(target != nullptr);
            QTest::keyClick(target, static_cast<Qt::Key>(key));
        }
        QCOMPARE(triggered.count(), 1);
        QCOMPARE(orv::COrvMenu::ItemId(*triggered.at(0).at(0).value<QAction*>()), c.id);
    }
}

QTEST_MAIN(MenusTest)
#include "tst_menus.moc"
