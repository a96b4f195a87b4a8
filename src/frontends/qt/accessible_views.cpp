#include "frontends/qt/accessible_views.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QTimer>
#include <algorithm>
#include <set>

#include "frontends/qt/graphic_views.h"
#include "frontends/qt/top_window.h"
#include "platform/entry_points.h"

namespace {

// Changes are read out at most this often. A burst of output (a reply, a
// scroll, an outburst printed piece by piece) then becomes one
// announcement instead of one per refresh mark.
constexpr int announceinterval_ms = 200;

// Above this many line pairs the lines are not matched one by one; the
// changed stretch is then found from both ends only.
constexpr qsizetype linematchlimit = 1 << 20;

// What a reader gets of the screen at one moment.
struct Reading {
    QString text;
    int caret = 0;
    int64_t columns = 0;
    int64_t lines = 0;
};

QString viewname(const GraphicView& view)
{
    if (view.number() == 0)
        return QStringLiteral("Sprecho – Unterhaltung");
    return view.window()->windowTitle();
}

class AccessibleView;
// The views' accessible objects that exist (main thread). Never destroyed:
// Qt may delete the objects during the process's own end.
std::set<AccessibleView*>& accessibleviews()
{
    static auto* views = new std::set<AccessibleView*>;
    return *views;
}

class AccessibleView final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit AccessibleView(GraphicView* view)
        : QAccessibleWidget(view, QAccessible::Terminal)
    {
        // Qt makes the object when the view is shown, listened to or not;
        // the screen is read only for a listener (and when one arrives).
        if (QAccessible::isActive())
            shown_ = read();
        timer_.setSingleShot(true);
        timer_.setInterval(announceinterval_ms);
        QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { announce(); });
        accessibleviews().insert(this);
    }
    ~AccessibleView() override { accessibleviews().erase(this); }
    AccessibleView(const AccessibleView&) = delete;
    AccessibleView& operator=(const AccessibleView&) = delete;

    void changed()
    {
        if (!timer_.isActive())
            timer_.start();
    }

    // Nothing was announced while no one listened: what is on the screen
    // now is what a reader finds, not news.
    void listenersarrived()
    {
        timer_.stop();
        shown_ = read();
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
            return viewname(view());
        if (kind == QAccessible::Description && widget()->accessibleDescription().isEmpty() &&
            view().number() == 0)
            return QStringLiteral("Schreib nach => und drück Return; Sprecho antwortet darunter.");
        return QAccessibleWidget::text(kind);
    }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.multiLine = true;
        return state;
    }

    // ---- QAccessibleTextInterface: the live screen, no selection ----

    void selection(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    // The program owns the text cursor.
    int cursorPosition() const override { return read().caret; }
    void setCursorPosition(int) override {}

    QString text(int startOffset, int endOffset) const override
    {
        const QString whole = read().text;
        const int start = std::clamp(startOffset, 0, int(whole.size()));
        const int end = endOffset < 0 ? int(whole.size()) : std::clamp(endOffset, start, int(whole.size()));
        return whole.mid(start, end - start);
    }
    int characterCount() const override { return int(read().text.size()); }

    QRect characterRect(int offset) const override
    {
        const Reading reading = read();
        if (reading.columns < 1 || reading.lines < 1 || offset < 0 || offset > reading.text.size())
            return {};
        const CellPosition cell = cellofoffset(reading.text, offset);
        const QSize size = view().size();
        const QPoint topleft(int(cell.column * size.width() / reading.columns),
                             int(cell.line * size.height() / reading.lines));
        const QPoint bottomright(int((cell.column + 1) * size.width() / reading.columns),
                                 int((cell.line + 1) * size.height() / reading.lines));
        return QRect(view().mapToGlobal(topleft), view().mapToGlobal(bottomright) - QPoint(1, 1));
    }

    int offsetAtPoint(const QPoint& point) const override
    {
        const Reading reading = read();
        const QPoint local = view().mapFromGlobal(point);
        const QSize size = view().size();
        if (reading.columns < 1 || reading.lines < 1 || !view().rect().contains(local))
            return -1;
        const int64_t column = 1 + int64_t(local.x()) * reading.columns / size.width();
        const int64_t line = 1 + int64_t(local.y()) * reading.lines / size.height();
        return caretoffset(reading.text, column, line);
    }

    void scrollToSubstring(int, int) override {}

    QString attributes(int, int* startOffset, int* endOffset) const override
    {
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

private:
    const GraphicView& view() const { return *static_cast<const GraphicView*>(widget()); }
    GraphicView* viewobject() const { return static_cast<GraphicView*>(widget()); }

    Reading read() const
    {
        t_ScreenText screen;
        if (!viewscreentext(uint8_t(view().number()), screen))
            return {};
        Reading reading;
        reading.text = accessibletext(screen.Text);
        reading.caret = caretoffset(reading.text, screen.CursorColumn, screen.CursorLine);
        reading.columns = screen.Columns;
        reading.lines = screen.Lines;
        return reading;
    }

    // Sends the changes since the last announcement, then where the caret
    // went.
    void announce()
    {
        const Reading now = read();
        for (const auto& event : changeevents(viewobject(), shown_.text, shown_.caret, now.text, now.caret))
            QAccessible::updateAccessibility(event.get());
        shown_ = now;
    }

    Reading shown_;  // the screen as last announced
    QTimer timer_;
};

// The graphic views read as text; the top-level windows as windows (a
// screen reader names the window it enters by its title).
QAccessibleInterface* viewfactory(const QString&, QObject* object)
{
    if (auto* view = dynamic_cast<GraphicView*>(object))
        return new AccessibleView(view);
    if (auto* window = dynamic_cast<TopWindow*>(object))
        return new QAccessibleWidget(window, QAccessible::Window);
    return nullptr;
}

// ---- Matching lines -----------------------------------------------------------

struct LineStarts {
    QStringList lines;
    std::vector<int> starts;  // offset of each line in the text
};

LineStarts splitlines(const QString& text)
{
    LineStarts result;
    result.lines = text.split(QLatin1Char('\n'));
    int offset = 0;
    for (const QString& line : result.lines) {
        result.starts.push_back(offset);
        offset += int(line.size()) + 1;
    }
    return result;
}

struct Match {
    int before = 0;  // line index in each text
    int after = 0;
};

// The lines the two texts share, in order: the common first and last
// lines, and between them the longest common subsequence of equal lines
// that are not empty. An empty line matches too easily (a screen is full
// of them) and would cut one piece of news into several.
std::vector<Match> matchinglines(const QStringList& a, const QStringList& b)
{
    const int n = int(a.size());
    const int m = int(b.size());
    int head = 0;
    while (head < n && head < m && a[head] == b[head])
        ++head;
    int tail = 0;
    while (tail < n - head && tail < m - head && a[n - 1 - tail] == b[m - 1 - tail])
        ++tail;
    std::vector<Match> matches;
    for (int i = 0; i < head; ++i)
        matches.push_back({i, i});
    const int rows = n - head - tail;
    const int columns = m - head - tail;
    if (rows > 0 && columns > 0 && qsizetype(rows) * columns <= linematchlimit) {
        // common[i][j]: the longest common subsequence of the rest of a
        // from line head + i and the rest of b from line head + j.
        std::vector<int> common(size_t(rows + 1) * size_t(columns + 1), 0);
        const auto at = [&](int i, int j) -> int& { return common[size_t(i) * size_t(columns + 1) + size_t(j)]; };
        const auto same = [&](int i, int j) { return !a[head + i].isEmpty() && a[head + i] == b[head + j]; };
        for (int i = rows - 1; i >= 0; --i)
            for (int j = columns - 1; j >= 0; --j)
                at(i, j) = same(i, j) ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
        int i = 0, j = 0;
        while (i < rows && j < columns) {
            if (same(i, j) && at(i, j) == at(i + 1, j + 1) + 1) {
                matches.push_back({head + i, head + j});
                ++i;
                ++j;
            } else if (at(i + 1, j) >= at(i, j + 1)) {
                ++i;
            } else {
                ++j;
            }
        }
    }
    for (int k = tail; k > 0; --k)
        matches.push_back({n - k, m - k});
    return matches;
}

struct ListenersArrive final : QAccessible::ActivationObserver {
    void accessibilityActiveChanged(bool active) override
    {
        if (active)
            for (AccessibleView* view : accessibleviews())
                view->listenersarrived();
    }
};

}  // namespace

void installaccessibleviews()
{
    QAccessible::installFactory(viewfactory);
    static ListenersArrive observer;
    QAccessible::installActivationObserver(&observer);
}

void noteviewchange(GraphicView* view)
{
    if (view == nullptr || !QAccessible::isActive())
        return;
    if (auto* accessible = dynamic_cast<AccessibleView*>(QAccessible::queryAccessibleInterface(view)))
        accessible->changed();
}

QString accessibletext(const std::string& screentext)
{
    QString text = QString::fromUtf8(screentext.data(), qsizetype(screentext.size()));
    for (QChar& c : text) {
        if (c == QLatin1Char('\r'))
            c = QLatin1Char('\n');
        else if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    }
    return text;
}

int caretoffset(const QString& text, int64_t column, int64_t line)
{
    int start = 0;
    for (int64_t at = 1; at < line; ++at) {
        const qsizetype feed = text.indexOf(QLatin1Char('\n'), start);
        if (feed < 0)
            return int(text.size());
        start = int(feed) + 1;
    }
    qsizetype end = text.indexOf(QLatin1Char('\n'), start);
    if (end < 0)
        end = text.size();
    return start + int(std::clamp<int64_t>(column - 1, 0, end - start));
}

CellPosition cellofoffset(const QString& text, int offset)
{
    offset = std::clamp(offset, 0, int(text.size()));
    CellPosition cell;
    int start = 0;
    for (qsizetype feed = text.indexOf(QLatin1Char('\n')); feed >= 0 && feed < offset;
         feed = text.indexOf(QLatin1Char('\n'), feed + 1)) {
        ++cell.line;
        start = int(feed) + 1;
    }
    cell.column = offset - start;
    return cell;
}

std::vector<std::unique_ptr<QAccessibleEvent>> changeevents(QObject* view, const QString& before,
                                                            int beforecaret, const QString& after,
                                                            int aftercaret)
{
    std::vector<std::unique_ptr<QAccessibleEvent>> events;
    for (const TextChange& change : textchanges(before, after)) {
        if (change.removed.isEmpty())
            events.push_back(std::make_unique<QAccessibleTextInsertEvent>(view, change.position, change.inserted));
        else if (change.inserted.isEmpty())
            events.push_back(std::make_unique<QAccessibleTextRemoveEvent>(view, change.position, change.removed));
        else
            events.push_back(std::make_unique<QAccessibleTextUpdateEvent>(view, change.position, change.removed,
                                                                          change.inserted));
    }
    if (aftercaret != beforecaret || !events.empty())
        events.push_back(std::make_unique<QAccessibleTextCursorEvent>(view, aftercaret));
    return events;
}

std::vector<TextChange> textchanges(const QString& before, const QString& after)
{
    const LineStarts a = splitlines(before);
    const LineStarts b = splitlines(after);
    const std::vector<Match> matches = matchinglines(a.lines, b.lines);
    std::vector<TextChange> changes;
    int shift = 0;  // what the changes so far added to the offsets
    // The stretches between matched lines (and before the first and after
    // the last) are what changed; the matched lines stay as they are.
    for (size_t k = 0; k <= matches.size(); ++k) {
        const bool first = k == 0;
        const bool last = k == matches.size();
        const int beforefrom = first ? 0 : a.starts[size_t(matches[k - 1].before)] + int(a.lines[matches[k - 1].before].size());
        const int afterfrom = first ? 0 : b.starts[size_t(matches[k - 1].after)] + int(b.lines[matches[k - 1].after].size());
        const int beforeto = last ? int(before.size()) : a.starts[size_t(matches[k].before)];
        const int afterto = last ? int(after.size()) : b.starts[size_t(matches[k].after)];
        QStringView old = QStringView(before).mid(beforefrom, beforeto - beforefrom);
        QStringView now = QStringView(after).mid(afterfrom, afterto - afterfrom);
        qsizetype prefix = 0;
        while (prefix < old.size() && prefix < now.size() && old[prefix] == now[prefix])
            ++prefix;
        qsizetype suffix = 0;
        while (suffix < old.size() - prefix && suffix < now.size() - prefix &&
               old[old.size() - 1 - suffix] == now[now.size() - 1 - suffix])
            ++suffix;
        old = old.mid(prefix, old.size() - prefix - suffix);
        now = now.mid(prefix, now.size() - prefix - suffix);
        if (old.isEmpty() && now.isEmpty())
            continue;
        changes.push_back({beforefrom + int(prefix) + shift, old.toString(), now.toString()});
        shift += int(now.size() - old.size());
    }
    // Where equal lines make an insertion ambiguous ("=>" before, "=>Hallo",
    // the reply and "=>" after), it goes as far down as its text allows:
    // what follows the old prompt is the news, and a reader reading it from
    // there hears the reply and ends at the caret. Up to the next change
    // the text after an insertion is already the final text.
    for (size_t k = 0; k < changes.size(); ++k) {
        TextChange& change = changes[k];
        if (!change.removed.isEmpty())
            continue;
        const int length = int(change.inserted.size());
        const int limit = k + 1 < changes.size() ? changes[k + 1].position : int(after.size());
        if (change.position + length >= limit || after[change.position] != after[change.position + length])
            continue;
        while (change.position + length < limit && after[change.position] == after[change.position + length])
            ++change.position;
        change.inserted = after.mid(change.position, length);
    }
    return changes;
}
