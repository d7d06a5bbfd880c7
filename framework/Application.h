#pragma once

#include "framework/Types.h"

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vd {

class TForm;
class TerminationSignals;

// The application object: the title of its message boxes and task-bar entry, the main form,
// minimizing and restoring, and the one place where errors that escape handlers are shown.
class TApplication {
public:
    // GUI thread. Starts the platform's GUI, registers the classic fonts and reads the desktop's
    // colours. One per process.
    TApplication(int& argc, char** argv);
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // The one application object, or nullptr before it exists.
    [[nodiscard]] static TApplication* Instance();

    [[nodiscard]] const std::string& Title() const { return title_; }
    void SetTitle(std::string_view title);
    [[nodiscard]] TForm* MainForm() const { return main_form_; }
    void SetMainForm(TForm* form) { main_form_ = form; }
    // The command-line arguments after the program's name.
    [[nodiscard]] const std::vector<std::string>& Arguments() const { return arguments_; }
    // The program file's full path.
    [[nodiscard]] const std::string& ExeName() const { return exe_name_; }

    // Whether Run shows the main form (a tray icon can decide at start-up that it stays hidden).
    [[nodiscard]] bool ShowMainForm() const { return show_main_form_; }
    void SetShowMainForm(bool value) { show_main_form_ = value; }
    // Runs the event loop until the main form closes; returns at once if it has already.
    void Run();
    // Ends the event loop, and every nested one (modal dialogs, message boxes).
    void Terminate();
    [[nodiscard]] bool Terminated() const { return terminated_; }
    // GUI thread. From now on SIGTERM, SIGINT and SIGHUP ask the main form to close, as its close
    // box does (TForm::RequestClose); without a main form they end the event loop.
    void CloseOnTerminationSignals();
    // Handles pending events (tests and busy loops).
    static void ProcessMessages();
    // Any thread. Runs `fn` on the GUI thread soon, from its event loop.
    static void Post(std::function<void()> fn);

    // False where the window system places windows itself (native Wayland): a position the
    // program sets or reads there means nothing.
    [[nodiscard]] static bool PlacesWindows();

    void Minimize();
    void Restore();
    [[nodiscard]] bool Minimized() const { return minimized_; }
    TNotifyEvent OnMinimize;
    TNotifyEvent OnRestore;

    // Shows an error that escaped a handler: a message box titled with the application title.
    static void HandleException(std::exception_ptr error);
    // Who shows errors and message boxes: a real box by default; tests put a recorder here.
    using MessageDisplay = std::function<void(const std::string& title, const std::string& text)>;
    void SetErrorDisplay(MessageDisplay display) { error_display_ = std::move(display); }
    void ShowError(const std::string& text);

private:
    struct Platform;
    std::unique_ptr<Platform> platform_;
    std::string title_;
    TForm* main_form_ = nullptr;
    std::vector<std::string> arguments_;
    std::string exe_name_;
    bool minimized_ = false;
    bool terminated_ = false;
    bool show_main_form_ = true;
    MessageDisplay error_display_;
    std::unique_ptr<TerminationSignals> termination_signals_;
};

} // namespace vd
