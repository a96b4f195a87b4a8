// The open and save panels: Qt's own file dialog, modal, with the German
// texts the caller passes and a message line above the dialog.
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "frontends/qt/port.h"
#include "platform/platform.h"

namespace {

// A file dialog inside a frame that shows the message above it (the
// dialog itself has no place for one).
class Panel {
public:
    Panel(const std::string& title, const std::string& message)
    {
        frame_.setWindowTitle(QString::fromStdString(title));
        frame_.setModal(true);
        auto* layout = new QVBoxLayout(&frame_);
        if (!message.empty()) {
            auto* note = new QLabel(QString::fromStdString(message), &frame_);
            note->setWordWrap(true);
            layout->addWidget(note);
        }
        dialog_ = new QFileDialog(&frame_);
        dialog_->setOption(QFileDialog::DontUseNativeDialog);
        dialog_->setWindowFlags(Qt::Widget);
        layout->addWidget(dialog_);
        QObject::connect(dialog_, &QDialog::accepted, &frame_, &QDialog::accept);
        QObject::connect(dialog_, &QDialog::rejected, &frame_, &QDialog::reject);
    }

    QFileDialog& dialog() { return *dialog_; }

    // The chosen locations as file URL texts; empty when cancelled.
    std::vector<std::string> run()
    {
        std::vector<std::string> chosen;
        if (frame_.exec() != QDialog::Accepted)
            return chosen;
        for (const QString& path : dialog_->selectedFiles())
            chosen.push_back(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded).toStdString());
        return chosen;
    }

private:
    QDialog frame_;
    QFileDialog* dialog_;
};

QString typefilter(const std::string& type)
{
    const QString name = QString::fromStdString(type);
    return QStringLiteral("%1 (*.%1)").arg(name);
}

QString alltypes(const std::vector<std::string>& types)
{
    QStringList patterns;
    for (const std::string& type : types)
        if (!type.empty())
            patterns << QStringLiteral("*.") + QString::fromStdString(type);
    return QStringLiteral("Dateien (%1)").arg(patterns.join(u' '));
}

bool hastypes(const std::vector<std::string>& types)
{
    for (const std::string& type : types)
        if (!type.empty())
            return true;
    return false;
}

std::vector<std::string> open_panel(const std::string& prompt, const std::string& title,
                                    const std::string& message,
                                    const std::vector<std::string>& types, bool multiple,
                                    bool files, bool folders)
{
    Panel panel(title, message);
    QFileDialog& dialog = panel.dialog();
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setLabelText(QFileDialog::Accept, QString::fromStdString(prompt));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Abbrechen"));
    if (folders && !files) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else {
        dialog.setFileMode(multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
        if (hastypes(types))
            dialog.setNameFilter(alltypes(types));
    }
    return panel.run();
}

std::string save_panel(const std::string& defaultname, const std::string& title,
                       const std::string& message, const std::vector<std::string>& types)
{
    Panel panel(title, message);
    QFileDialog& dialog = panel.dialog();
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Sichern"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Sichern unter:"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Abbrechen"));
    QStringList filters;
    for (const std::string& type : types)
        if (!type.empty())
            filters << typefilter(type);
    // A name typed without an extension gets the first allowed type's.
    if (!filters.empty())
        dialog.setDefaultSuffix(QString::fromStdString(*std::find_if(
            types.begin(), types.end(), [](const std::string& type) { return !type.empty(); })));
    filters << QStringLiteral("Alle Dateien (*)");
    dialog.setNameFilters(filters);
    dialog.selectFile(QString::fromStdString(defaultname));
    const std::vector<std::string> chosen = panel.run();
    return chosen.empty() ? std::string() : chosen.front();
}

}  // namespace

void addpanels(platform::Port& port)
{
    port.open_panel = open_panel;
    port.save_panel = save_panel;
}
