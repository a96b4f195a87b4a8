// The pasteboard is the desktop's clipboard. On X11, Qt hands what we put
// on it to a running clipboard manager when the application object is
// destroyed, so copied text outlives the program.
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>

#include "frontends/qt/port.h"
#include "platform/entry_points.h"
#include "platform/platform.h"
#include "util/strings.h"

namespace {

std::string pasteboard_text()
{
    return QGuiApplication::clipboard()->text().toStdString();
}

// The runtime ends its lines with carriage returns; Linux programs that
// paste expect line feeds and would show one long line.
void set_pasteboard_text(const std::string& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(QString::fromStdString(linuxlineends(text)));
}

void set_pasteboard_image(const WindowImage& image)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    if (image.Width <= 0 || image.Height <= 0 || image.Width > 0x7FFF || image.Height > 0x7FFF ||
        image.Pixels.size() < size_t(image.Width) * size_t(image.Height))
        return;
    // The clipboard outlives the image the runtime made: copy the pixels.
    const QImage wrapped(reinterpret_cast<const uchar*>(image.Pixels.data()), int(image.Width),
                         int(image.Height), qsizetype(image.Width) * 4, QImage::Format_RGB32);
    clipboard->setImage(wrapped.copy());
}

}  // namespace

void addpasteboard(platform::Port& port)
{
    port.pasteboard_text = pasteboard_text;
    port.set_pasteboard_text = set_pasteboard_text;
    port.set_pasteboard_image = set_pasteboard_image;
}
