#pragma once
#include <QString>
#include <memory>
#include <string>

#include "app/AppOptions.h"
#include "session/Session.h"

namespace orv {

class CORV_GMouseDlg;
class MessageSink;
class Trace;
class VirtualMouseWindow;

// The process: one instance per session, and the main window for the whole of its life.
// Expects a QApplication to exist.
class CORV_GMouseApp {
public:
    explicit CORV_GMouseApp(AppOptions options);
    ~CORV_GMouseApp();

    // Runs the utility to its end and returns the process's exit code.
    int Run();

private:
    int RunWindow();
    int SaveScreenshots();
    void RunTestCommand(const QString& command);
    void ShowVirtualMouse();
    void EndOnRequest();
    void LetGoAtExit();

    AppOptions options_;
    SessionFolders folders_;
    std::string folderError_;  // why the folders for the user's files could not be made ready
    std::unique_ptr<Trace> trace_;
    std::unique_ptr<MessageSink> messages_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<CORV_GMouseDlg> dialog_;
    std::unique_ptr<VirtualMouseWindow> virtualMouse_;
    bool virtualMousePlaced_ = false;
};

}  // namespace orv
