#include "cli/Commands.h"

#include "model/Catalogue.h"

#include <QApplication>
#include <QMainWindow>

namespace flow {

int StartEditor(int argc, char** argv) {
    QApplication app(argc, argv);
    RegisterCatalogue();
    QMainWindow window;
    window.setWindowTitle("Untitled");
    window.resize(800, 600);
    window.show();
    return app.exec();
}

} // namespace flow
