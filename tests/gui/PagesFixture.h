#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <QPoint>
#include <QRegion>
#include <QWidget>

#include "SyntheticSkin.h"
#include "settings/ProfileSettings.h"
#include "skin/SkinLayout.h"
#include "ui/MainWindowPages.h"
#include "ui/PageActions.h"
#include "ui/PageModel.h"
#include "ui/PageState.h"

namespace orv::testing {

// Records what the pages ask of the window, one text per call ("Repaint", "OpenFunctionMenu 2").
class RecordingActions : public PageActions {
public:
    std::vector<std::string> calls;
    std::vector<QRegion> repaintedRegions;
    QPoint dragPoint{-1, -1};
    QPoint warningAnchor{-1, -1};
    QPoint menuAnchor{-1, -1};
    int warningResult = 1;

    void Repaint() override { calls.push_back("Repaint"); }
    void RepaintRegion(const QRegion& region) override
    {
        calls.push_back("RepaintRegion");
        repaintedRegions.push_back(region);
    }
    void UpdateNow() override { calls.push_back("UpdateNow"); }
    void StartDrag(QPoint point) override
    {
        calls.push_back("StartDrag");
        dragPoint = point;
    }
    void Minimise() override { calls.push_back("Minimise"); }
    void HideToTray() override { calls.push_back("HideToTray"); }
    void CloseToTray() override { calls.push_back("CloseToTray"); }
    void ApplyProfile() override { calls.push_back("ApplyProfile"); }
    QPoint WindowTopLeft() const override { return {300, 200}; }
    bool OpenFunctionMenu(int button, QPoint anchor) override
    {
        calls.push_back("OpenFunctionMenu " + std::to_string(button));
        menuAnchor = anchor;
        return true;
    }
    void CloseFunctionMenu() override { calls.push_back("CloseFunctionMenu"); }
    int ShowLeftButtonWarning(QPoint anchor) override
    {
        calls.push_back("ShowLeftButtonWarning");
        warningAnchor = anchor;
        return warningResult;
    }
    void ImportProfile() override { calls.push_back("ImportProfile"); }
    void ExportProfile() override { calls.push_back("ExportProfile"); }
    void RestoreDefaults() override { calls.push_back("RestoreDefaults"); }
    void SwitchToChinese() override { calls.push_back("SwitchToChinese"); }
    void SwitchToEnglish() override { calls.push_back("SwitchToEnglish"); }
    void ImportMacros() override { calls.push_back("ImportMacros"); }
    void ExportMacros() override { calls.push_back("ExportMacros"); }
    void AddMacro() override { calls.push_back("AddMacro"); }
    void DeleteMacro() override { calls.push_back("DeleteMacro"); }
    void ToggleRecording() override { calls.push_back("ToggleRecording"); }
    void StoreRepeatCount() override { calls.push_back("StoreRepeatCount"); }
    void ToggleRepeat() override { calls.push_back("ToggleRepeat"); }
    void RefreshMacroList() override { calls.push_back("RefreshMacroList"); }
    void StartPreviewThread() override { calls.push_back("StartPreviewThread"); }

    // Calls other than the repaint requests, in order.
    std::vector<std::string> Operations() const;
};

// A laid-out synthetic skin (240 x 160) with the pages over it. Main regions sit on a grid of
// 15 x 10 cells (14 x 9 each) from the top, advanced regions below them from y 80, colour
// regions on the row y 120; the fire-time slider is 200 x 9 at (0, 130); the four controls
// share the row y 142.
struct PagesFixture {
    PagesFixture();

    static SkinRegion GridRegion(int index, int top);
    QPoint MainCentre(int index) const { return Centre(layout.MainRegions[static_cast<size_t>(index)]); }
    QPoint AdvancedCentre(int index) const { return Centre(layout.AdvancedRegions[static_cast<size_t>(index)]); }
    QPoint ColorCentre(int index) const { return Centre(layout.ColorRegions[static_cast<size_t>(index)]); }
    static QPoint Centre(const SkinRegion& r) { return {r.x + r.width / 2, r.y + r.height / 2}; }
    // A point inside the window that no table hits.
    static QPoint Empty() { return {235, 155}; }

    void Click(QPoint point);
    void OnPage(uint8_t page);

    SyntheticSkin skin;
    SkinLayout layout;
    ProfileSettings settings;
    int32_t currentProfile = 1;
    Language language = Language::English();
    std::vector<std::string> macroNames{"Alpha", "Beta"};
    uint8_t repeatOn = 0;
    std::array<uint8_t, 4> appliedDpi{1, 2, 3, 4};
    PageModel model;
    PageState state;
    RecordingActions actions;
    QWidget window;
    MainWindowPages pages;
};

}  // namespace orv::testing
