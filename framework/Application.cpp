#include "framework/Application.h"

#include "framework/Colors.h"
#include "framework/Controls.h"
#include "framework/Fonts.h"
#include "framework/Forms.h"

#include <QApplication>
#include <QMessageBox>
#include <QPalette>
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
    g_instance = this;
}

TApplication::~TApplication() {
    if (g_instance == this)
        g_instance = nullptr;
}

TApplication* TApplication::Instance() {
    return g_instance;
}

void TApplication::SetTitle(std::string_view title) {
    title_ = title;
    QApplication::setApplicationDisplayName(QString::fromStdString(title_));
}

void TApplication::Run() {
    if (main_form_ != nullptr && !main_form_->Visible())
        main_form_->Show();
    QApplication::exec();
}

void TApplication::Terminate() {
    QApplication::quit();
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
