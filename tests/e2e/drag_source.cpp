// A small drag source for the end-to-end drop test: a window that, when the mouse is pressed
// on it and moved, drags the files named on its command line as a list of local file URLs,
// in the order given. It prints the outcome of the drag and ends a few seconds later.
#include <QApplication>
#include <QDrag>
#include <QFile>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>

#include <cstdio>

class DragSource : public QWidget
{
public:
    explicit DragSource(QList<QUrl> urls)
        : m_urls(std::move(urls))
    {
        setWindowTitle(QStringLiteral("drag source"));
        setFixedSize(200, 200);
    }

protected:
    void mousePressEvent(QMouseEvent *event) override { m_pressedAt = event->position(); }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        if (m_dragged || !(event->buttons() & Qt::LeftButton))
            return;
        if ((event->position() - m_pressedAt).manhattanLength() < QApplication::startDragDistance())
            return;
        m_dragged = true;
        auto *drag = new QDrag(this);
        auto *mime = new QMimeData;
        mime->setUrls(m_urls);
        drag->setMimeData(mime);
        const Qt::DropAction action = drag->exec(Qt::CopyAction);
        std::printf("drag ended: %s\n", action == Qt::CopyAction ? "copied" : "refused");
        std::fflush(stdout);
        // The drop's data is fetched from this program after the drag has ended here: stay
        // to answer, then go.
        QTimer::singleShot(5000, qApp, &QApplication::quit);
    }

private:
    QList<QUrl> m_urls;
    QPointF m_pressedAt;
    bool m_dragged = false;
};

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QList<QUrl> urls;
    for (int i = 1; i < argc; ++i)
        urls << QUrl::fromLocalFile(QFile::decodeName(argv[i]));
    DragSource source(urls);
    source.move(0, 0);
    source.show();
    return QApplication::exec();
}
