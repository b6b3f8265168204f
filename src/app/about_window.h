#pragma once
// "Sobre o Sistema": a page about the program, written anew into "sobreosistema.html" in the
// current folder each time the window opens, shown in an embedded browser with its address bar.
// And the "Vexa" support window, which shows the vendor's online-support page.
#include "ui/screen.h"

class QLabel;
class QLineEdit;
class QStatusBar;
class QWebEngineView;

namespace saldora::app {

class AboutWindow : public ui::Screen {
    Q_OBJECT
  public:
    AboutWindow();
    ~AboutWindow() override;
    static void start();
    // The page's HTML (HTML 4.01, titled "Sobre o Sistema").
    static std::string page();

  private:
    void go();
    QLineEdit* address_;
    QWebEngineView* view_;
    QLabel* loading_;
    QStatusBar* status_;
};

class SupportWindow : public ui::Screen {
    Q_OBJECT
  public:
    SupportWindow();
    ~SupportWindow() override;
    static void start();
    // The vendor's support page: saldora.INI "Suporte"/"Endereco" gives the web server.
    static QString address();

  private:
    QWebEngineView* view_;
};

} // namespace saldora::app
