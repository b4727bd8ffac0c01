// A tiny drag source for trying drops by hand or from a script: a window that
// starts a drag of the paths named on its command line when pressed.
#include <QApplication>
#include <QDrag>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

class DragSource : public QWidget {
public:
    explicit DragSource(QList<QUrl> urls) : urls_(std::move(urls))
    {
        setWindowTitle("drag source");
        resize(120, 80);
    }

protected:
    void mousePressEvent(QMouseEvent*) override
    {
        auto* carried = new QMimeData;
        carried->setUrls(urls_);
        auto* drag = new QDrag(this);
        drag->setMimeData(carried);
        drag->exec(Qt::CopyAction | Qt::LinkAction);
    }

private:
    QList<QUrl> urls_;
};

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QList<QUrl> urls;
    for (const QString& path : app.arguments().mid(1))
        urls << QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    DragSource source(urls);
    source.move(0, 0);
    source.show();
    return app.exec();
}
