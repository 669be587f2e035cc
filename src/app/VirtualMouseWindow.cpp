#include "app/VirtualMouseWindow.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <array>
#include <tuple>

#include "device/FeatureReport.h"
#include "device/InputListener.h"
#include "session/Session.h"
#include "settings/ProfileSettings.h"

namespace orv {

namespace {

// The mouse numbers its buttons 1..6 in its reports, each once in DeviceButtonCode.
constexpr int kButtons = static_cast<int>(DeviceButtonCode.size());
constexpr int kDpiLevels = static_cast<int>(std::tuple_size_v<decltype(ProfileSettings::dpiStep)>);

void SendInput(Session& session, uint8_t eventCode, uint8_t value) {
    const std::array<uint8_t, 3> report{kInputReportId, eventCode, value};
    session.SimulateInput(report);
}

}  // namespace

VirtualMouseWindow::VirtualMouseWindow(Session& session, QWidget* parent) : QWidget(parent, Qt::Tool) {
    setWindowTitle(QStringLiteral("virtual mouse"));
    auto* layout = new QGridLayout(this);

    auto* buttons = new QGroupBox(QStringLiteral("Programmable buttons (hold to keep pressed)"), this);
    auto* buttonLayout = new QGridLayout(buttons);
    for (int n = 1; n <= kButtons; ++n) {
        auto* button = new QPushButton(QStringLiteral("Button %1").arg(n), buttons);
        button->setObjectName(QStringLiteral("button%1").arg(n));
        const auto code = static_cast<uint8_t>(kButtonEventBase + n);
        connect(button, &QPushButton::pressed, this, [&session, code] { SendInput(session, code, 0); });
        connect(button, &QPushButton::released, this, [&session, code] { SendInput(session, code, kReleaseMarker); });
        buttonLayout->addWidget(button, (n - 1) / 3, (n - 1) % 3);
    }
    layout->addWidget(buttons, 0, 0);

    // The mouse reports a DPI change it made itself as a press of the DPI button carrying the
    // new level, followed by the release.
    auto* dpi = new QGroupBox(QStringLiteral("DPI level reported by a button"), this);
    auto* dpiLayout = new QGridLayout(dpi);
    auto* from = new QComboBox(dpi);
    for (int n = 1; n <= kButtons; ++n) {
        from->addItem(QStringLiteral("Button %1").arg(n), n);
    }
    from->setCurrentIndex(kButtons - 1);
    dpiLayout->addWidget(new QLabel(QStringLiteral("from"), dpi), 0, 0);
    dpiLayout->addWidget(from, 0, 1, 1, kDpiLevels - 1);
    for (int level = 0; level < kDpiLevels; ++level) {
        auto* button = new QPushButton(QStringLiteral("Level %1").arg(level + 1), dpi);
        button->setObjectName(QStringLiteral("dpi%1").arg(level + 1));
        connect(button, &QPushButton::clicked, this, [&session, from, level] {
            const auto code = static_cast<uint8_t>(kButtonEventBase + from->currentData().toInt());
            SendInput(session, code, static_cast<uint8_t>(level));
            SendInput(session, code, kReleaseMarker);
        });
        dpiLayout->addWidget(button, 1, level);
    }
    layout->addWidget(dpi, 1, 0);

    auto* unplug = new QPushButton(QStringLiteral("Unplug the mouse (ends the program)"), this);
    unplug->setObjectName(QStringLiteral("unplug"));
    connect(unplug, &QPushButton::clicked, this, [&session] { session.SimulateUnplug(); });
    layout->addWidget(unplug, 2, 0);
}

}  // namespace orv
