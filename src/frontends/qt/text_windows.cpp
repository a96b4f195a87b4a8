#include "frontends/qt/text_windows.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextCursor>

#include "frontends/qt/app_delegate.h"
#include "frontends/qt/frames.h"
#include "frontends/qt/handles.h"
#include "frontends/qt/port.h"
#include "frontends/qt/top_window.h"
#include "platform/entry_points.h"
#include "platform/platform.h"

namespace {

// Carriage returns are the runtime's line ends; a CR LF pair is one break.
QString displaytext(std::string_view text, bool afterreturn)
{
    std::string shown;
    shown.reserve(text.size());
    for (const char c : text) {
        if (c == '\n' && afterreturn) {
            afterreturn = false;
            continue;
        }
        afterreturn = c == '\r';
        shown += c == '\r' ? '\n' : c;
    }
    return QString::fromUtf8(shown.data(), qsizetype(shown.size()));
}

// True when the text stops inside a UTF-8 sequence: what follows may
// complete it, so the view has to be given the whole text again.
bool endsinsidecharacter(const std::string& text)
{
    size_t continuation = 0;
    for (auto c = text.rbegin(); c != text.rend() && continuation < 4; ++c) {
        const auto byte = static_cast<unsigned char>(*c);
        if ((byte & 0xC0) != 0x80) {
            const size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            return length > continuation + 1;
        }
        ++continuation;
    }
    return false;
}

bool scrolledtoend(const QPlainTextEdit& view)
{
    const QScrollBar* bar = view.verticalScrollBar();
    return bar->value() >= bar->maximum();
}

void scrolltoend(QPlainTextEdit& view)
{
    QScrollBar* bar = view.verticalScrollBar();
    bar->setValue(bar->maximum());
}

QAbstractScrollArea* scrollview(uint8_t number)
{
    AppDelegate& delegate = appdelegate();
    switch (number) {
    case 8: return delegate.PasteboardScrollView;
    case 9: return delegate.VirtualPrinterScrollView;
    case 10: return delegate.SystemConsoleScrollView;
    default: return nullptr;
    }
}

QLineEdit* ruler(uint8_t number)
{
    AppDelegate& delegate = appdelegate();
    switch (number) {
    case 9: return delegate.VirtualPrinterRuler;
    case 10: return delegate.SystemConsoleRuler;
    default: return nullptr;
    }
}

std::string text_view_text(PlatformTextView* view)
{
    const TextView* widget = totextview(view);
    return widget != nullptr ? widget->text() : std::string();
}

void set_text_view_text(PlatformTextView* view, const std::string& text)
{
    if (TextView* widget = totextview(view))
        widget->settext(text);
}

void mark_text_view(PlatformTextView* view)
{
    if (TextView* widget = totextview(view))
        widget->viewport()->update();
}

void configure_text_view(PlatformTextView* view)
{
    TextView* widget = totextview(view);
    if (widget == nullptr)
        return;
    widget->setFont(textviewfont());
    widget->setLineWrapMode(QPlainTextEdit::NoWrap);
    widget->setWordWrapMode(QTextOption::NoWrap);
}

PlatformRect scroll_view_frame(uint8_t number)
{
    return framewithinparent(scrollview(number));
}

void set_scroll_view_frame(uint8_t number, PlatformRect frame)
{
    placewithinparent(scrollview(number), frame);
}

void set_ruler_text(uint8_t number, const std::string& text)
{
    if (QLineEdit* line = ruler(number)) {
        line->setText(QString::fromStdString(text));
        line->setCursorPosition(0);
    }
}

PlatformRect ruler_frame(uint8_t number)
{
    return framewithinparent(ruler(number));
}

void set_ruler_frame(uint8_t number, PlatformRect frame)
{
    placewithinparent(ruler(number), frame);
}

}  // namespace

TextView::TextView(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    setUndoRedoEnabled(false);
    configure_text_view(tohandle(this));
}

void TextView::settext(const std::string& text)
{
    const bool atend = scrolledtoend(*this);
    // A log grows at its end: showing only the new part keeps an append as
    // cheap on a long log as on a short one.
    if (!text_.empty() && text.size() > text_.size() && !endsinsidecharacter(text_) &&
        text.compare(0, text_.size(), text_) == 0) {
        const std::string_view addition = std::string_view(text).substr(text_.size());
        appendtext(addition);
        text_ += addition;
    } else if (text != text_) {
        showtext(text);
        text_ = text;
    }
    if (atend)
        scrolltoend(*this);
}

void TextView::showtext(const std::string& text)
{
    setPlainText(displaytext(text, false));
}

void TextView::appendtext(std::string_view addition)
{
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(displaytext(addition, text_.back() == '\r'));
}

void relayouttextwindow(uint8_t number)
{
    QAbstractScrollArea* scroll = scrollview(number);
    PlatformWindow* window = platformwindow(number);
    if (scroll == nullptr || window == nullptr)
        return;
    const PlatformRect frame = platform::window_frame(window);
    const double title = double(measuredtitlebarheight());
    if (number == 8) {
        set_scroll_view_frame(8, {10, 10, frame.width - 20, frame.height - 20 - title});
        return;
    }
    set_scroll_view_frame(number, {20, 20, frame.width - 40, frame.height - 40 - title - 15});
    // The ruler stays where it is along the top edge; only its width follows.
    if (QLineEdit* line = ruler(number))
        line->resize(std::max(0, int(frame.width) - 48), 19);
}

QFont textviewfont()
{
    QFont font(QStringLiteral("DejaVu Sans Mono"));
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    font.setPixelSize(12);
    return font;
}


void addtextviews(platform::Port& port)
{
    port.text_view_text = text_view_text;
    port.set_text_view_text = set_text_view_text;
    port.mark_text_view = mark_text_view;
    port.configure_text_view = configure_text_view;
    port.scroll_view_frame = scroll_view_frame;
    port.set_scroll_view_frame = set_scroll_view_frame;
    port.set_ruler_text = set_ruler_text;
    port.ruler_frame = ruler_frame;
    port.set_ruler_frame = set_ruler_frame;
}
