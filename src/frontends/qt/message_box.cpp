// A modal warning for the user, over the window in front.
#include <QApplication>
#include <QMessageBox>

#include "frontends/qt/port.h"
#include "platform/platform.h"

namespace {

void show_message(const std::string& title, const std::string& text)
{
    QMessageBox box(QMessageBox::Warning, QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

}  // namespace

void addmessagebox(platform::Port& port)
{
    port.show_message = show_message;
}
