#include "app/Avvio.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("placche"));
    QApplication::setApplicationDisplayName(QStringLiteral("La teoria delle placche"));
    return Avvio::esegui();
}
