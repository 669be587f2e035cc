#pragma once
#include <string>
#include <vector>

#include <QPoint>
#include <QRegion>

#include "ui/WindowHost.h"

namespace orv::testing {

// What the pages and features asked of the window, in order, one text per call ("Repaint",
// "HideToTray"); the fixture adds the session's applies ("ApplyProfile").
struct CallLog {
    std::vector<std::string> calls;

    // The calls other than the window's repaint requests.
    std::vector<std::string> Operations() const;
};

class FakeHost : public WindowHost {
public:
    explicit FakeHost(CallLog& log) : log_(log) {}

    std::vector<QRegion> repaintedRegions;
    QPoint dragPoint{-1, -1};

    void Repaint() override { log_.calls.push_back("Repaint"); }
    void RepaintRegion(const QRegion& region) override;
    void UpdateNow() override { log_.calls.push_back("UpdateNow"); }
    void StartDrag(QPoint point) override;
    void Minimise() override { log_.calls.push_back("Minimise"); }
    void HideToTray() override { log_.calls.push_back("HideToTray"); }
    void CloseToTray() override { log_.calls.push_back("CloseToTray"); }
    void ExitDriver() override { log_.calls.push_back("ExitDriver"); }
    QPoint WindowTopLeft() const override { return {300, 200}; }

private:
    CallLog& log_;
};

}  // namespace orv::testing
