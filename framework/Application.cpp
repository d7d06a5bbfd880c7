#include "framework/Application.h"

#include "framework/Colors.h"
#include "framework/Controls.h"
#include "framework/Fonts.h"
#include "framework/Forms.h"
#include "framework/SystemFonts.h"
#include "framework/TerminationSignals.h"

#include <QApplication>
#include <QFontInfo>
#include <QMessageBox>
#include <QPalette>
#include <QThread>
#include <QWidget>

#include <cstdio>

namespace vd {

namespace {

TApplication* g_instance = nullptr; // the process's one application object

TColor FromQColor(const QColor& c) {
    return RGB(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()),
               static_cast<unsigned>(c.blue()));
}

// Fills the system colours that have a counterpart in the desktop's palette.
void ReadDesktopColors() {
    const QPalette pal = QApplication::palette();
    auto set = [](TColor sys, const QColor& c) {
        SystemColors::Set(static_cast<int>(sys & 0xFF), FromQColor(c));
    };
    set(clWindow, pal.color(QPalette::Base));
    set(clWindowText, pal.color(QPalette::Text));
    set(clHighlight, pal.color(QPalette::Highlight));
    set(clHighlightText, pal.color(QPalette::HighlightedText));
    set(clBtnText, pal.color(QPalette::ButtonText));
    set(clInfoBk, pal.color(QPalette::ToolTipBase));
    set(clInfoText, pal.color(QPalette::ToolTipText));
    set(clMenuText, pal.color(QPalette::WindowText));
}

// The desktop's menu font, where its theme gives menus a font of their own; otherwise the
// classic menu font stays.
void ReadDesktopMenuFont() {
    const QFont menu = QApplication::font("QMenu");
    if (menu == QApplication::font())
        return;
    SetSystemMenuFont(menu.family().toStdString(), -QFontInfo(menu).pixelSize());
}

} // namespace

struct TApplication::Platform {
    QApplication app;
    Platform(int& argc, char** argv) : app(argc, argv) {}
};

TApplication::TApplication(int& argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        arguments_.emplace_back(argv[i]);
    // A fractional scale would blur every bitmap of the skin: 150 % draws at 1x, 250 % at 2x.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(
        Qt::HighDpiScaleFactorRoundingPolicy::Floor);
    platform_ = std::make_unique<Platform>(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    exe_name_ = QCoreApplication::applicationFilePath().toLocal8Bit().toStdString();
    RegisterClassicFonts();
    ReadDesktopColors();
    ReadDesktopMenuFont();
    g_instance = this;
    // The event loop can also end without the main form's Close: the session manager ends the
    // session. The form then closes its own way, as late as that is.
    QObject::connect(&platform_->app, &QCoreApplication::aboutToQuit, [this] {
        if (!terminated_ && main_form_ != nullptr)
            SafeCall([this] { main_form_->RequestClose(); });
    });
}

TApplication::~TApplication() {
    termination_signals_.reset();
    if (g_instance == this)
        g_instance = nullptr;
}

void TApplication::CloseOnTerminationSignals() {
    termination_signals_ = std::make_unique<TerminationSignals>([this](int) {
        if (terminated_)
            return;
        if (main_form_ != nullptr)
            main_form_->RequestClose();
        else
            Terminate();
    });
}

TApplication* TApplication::Instance() {
    return g_instance;
}

void TApplication::SetTitle(std::string_view title) {
    title_ = title;
    QApplication::setApplicationDisplayName(QString::fromStdString(title_));
}

void TApplication::Run() {
    // Closed already, e.g. by a signal while a message box of the start-up was open.
    if (terminated_)
        return;
    if (main_form_ != nullptr && show_main_form_ && !main_form_->Visible())
        main_form_->Show();
    QApplication::exec();
}

void TApplication::Terminate() {
    terminated_ = true;
    // Unlike quit(), which asks every window first and does nothing before Run, this also ends
    // the nested loops of modal dialogs and message boxes at once. Outside every loop there is
    // nothing to end (Run returns at once), and an exit there would end the next loop at its start.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(0);
}

void TApplication::ProcessMessages() {
    QApplication::processEvents();
}

void TApplication::Post(std::function<void()> fn) {
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [fn = std::move(fn)] { SafeCall(fn); }, Qt::QueuedConnection);
}

bool TApplication::PlacesWindows() {
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void TApplication::Minimize() {
    minimized_ = true;
    if (OnMinimize) {
        OnMinimize(nullptr);
        return;
    }
    if (main_form_ != nullptr)
        main_form_->Minimize();
}

void TApplication::Restore() {
    minimized_ = false;
    if (main_form_ != nullptr) {
        main_form_->Show();
        main_form_->Widget()->showNormal();
    }
    if (OnRestore)
        OnRestore(nullptr);
}

void TApplication::HandleException(std::exception_ptr error) {
    std::string text;
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        text = e.what();
    } catch (...) {
        text = "An unknown error occurred.";
    }
    if (g_instance != nullptr)
        g_instance->ShowError(text);
    else
        std::fprintf(stderr, "%s\n", text.c_str());
}

void TApplication::ShowError(const std::string& text) {
    if (error_display_) {
        error_display_(title_, text);
        return;
    }
    QMessageBox box(QMessageBox::Critical, QString::fromStdString(title_),
                    QString::fromUtf8(text.c_str()), QMessageBox::Ok,
                    main_form_ != nullptr && main_form_->Visible() ? main_form_->Widget()
                                                                   : nullptr);
    box.exec();
}

} // namespace vd
