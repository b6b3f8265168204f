// saldora: the bookkeeping program. It reads no options: only its own path, to find the
// program folder.
#include "app/startup.h"

#include <QApplication>

int main(int argc, char** argv) {
    // The embedded browsers of the About and support windows need this before the application.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    app.setApplicationName("saldora");
    saldora::app::startProgram({argv[0], {}});
    return app.exec();
}
