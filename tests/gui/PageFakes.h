#pragma once
#include <string>
#include <vector>

#include <QPoint>
#include <QRect>
#include <QRegion>

#include "ui/AdvancedPageControls.h"
#include "ui/PageFeatures.h"
#include "ui/WindowHost.h"

namespace orv::testing {

// What the pages asked of the window and of the features, in order, one text per call
// ("Repaint", "OpenFunctionMenu 2").
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
    QPoint WindowTopLeft() const override { return {300, 200}; }

private:
    CallLog& log_;
};

class FakeFunctionMenus : public FunctionMenuController {
public:
    explicit FakeFunctionMenus(CallLog& log) : log_(log) {}

    QRect menuBox;
    QRect warningBox;
    int warningResult = 1;

    bool OpenFunctionMenu(int button, QRect box) override;
    void CloseFunctionMenu() override { log_.calls.push_back("CloseFunctionMenu"); }
    int ShowLeftButtonWarning(QRect box) override;

private:
    CallLog& log_;
};

class FakeMacroEditor : public MacroEditorController {
public:
    explicit FakeMacroEditor(CallLog& log) : log_(log) {}

    AdvancedPageControls refreshedControls;
    bool settled = true;

    void RefreshMacroList(const AdvancedPageControls& controls) override;
    void ImportMacros() override { log_.calls.push_back("ImportMacros"); }
    void ExportMacros() override { log_.calls.push_back("ExportMacros"); }
    void AddMacro() override { log_.calls.push_back("AddMacro"); }
    void DeleteMacro() override { log_.calls.push_back("DeleteMacro"); }
    void StoreRepeatCount() override { log_.calls.push_back("StoreRepeatCount"); }
    void ToggleRepeat() override { log_.calls.push_back("ToggleRepeat"); }
    bool SettleUnsavedEdits() override {
        log_.calls.push_back("SettleUnsavedEdits");
        return settled;
    }

private:
    CallLog& log_;
};

class FakeRecording : public RecordingController {
public:
    explicit FakeRecording(CallLog& log) : log_(log) {}
    void ToggleRecording() override { log_.calls.push_back("ToggleRecording"); }
    void StopRecording() override { log_.calls.push_back("StopRecording"); }

private:
    CallLog& log_;
};

class FakeProfileExchange : public ProfileExchangeController {
public:
    explicit FakeProfileExchange(CallLog& log) : log_(log) {}
    void ImportProfile() override { log_.calls.push_back("ImportProfile"); }
    void ExportProfile() override { log_.calls.push_back("ExportProfile"); }
    void RestoreDefaults() override { log_.calls.push_back("RestoreDefaults"); }

private:
    CallLog& log_;
};

class FakeLanguage : public LanguageController {
public:
    explicit FakeLanguage(CallLog& log) : log_(log) {}
    void SwitchToChinese() override { log_.calls.push_back("SwitchToChinese"); }
    void SwitchToEnglish() override { log_.calls.push_back("SwitchToEnglish"); }

private:
    CallLog& log_;
};

class FakePreview : public PreviewController {
public:
    explicit FakePreview(CallLog& log) : log_(log) {}
    void StartPreviewThread() override { log_.calls.push_back("StartPreviewThread"); }

private:
    CallLog& log_;
};

// One fake of every feature, all writing to the same log.
struct FakeFeatures {
    explicit FakeFeatures(CallLog& log)
        : functionMenus(log), macroEditor(log), recording(log), profileExchange(log), language(log), preview(log) {}

    PageFeatures All() { return {&functionMenus, &macroEditor, &recording, &profileExchange, &language, &preview}; }

    FakeFunctionMenus functionMenus;
    FakeMacroEditor macroEditor;
    FakeRecording recording;
    FakeProfileExchange profileExchange;
    FakeLanguage language;
    FakePreview preview;
};

}  // namespace orv::testing
