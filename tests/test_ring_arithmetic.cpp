// The fit rule, the slot-to-entry mapping of a load and what a step loads,
// as tables.
#include "carousel/fit.h"
#include "carousel/ring.h"
#include <QtTest>

class RingArithmetic : public QObject {
    Q_OBJECT
private slots:
    void fit_data()
    {
        QTest::addColumn<QSize>("picture");
        QTest::addColumn<float>("width");
        QTest::addColumn<float>("height");
        QTest::newRow("landscape") << QSize(600, 400) << 4.0f << 2.6666667f;
        QTest::newRow("portrait") << QSize(400, 600) << 2.6666667f << 4.0f;
        QTest::newRow("four by three") << QSize(800, 600) << 4.0f << 3.0f;
        QTest::newRow("square") << QSize(500, 500) << 4.0f << 4.0f;
        QTest::newRow("one pixel high") << QSize(4000, 1) << 4.0f << 0.001f;
        QTest::newRow("tall strip") << QSize(3, 30000) << 0.0004f << 4.0f;
    }
    void fit()
    {
        QFETCH(QSize, picture);
        QFETCH(float, width);
        QFETCH(float, height);
        const PlaneSize size = fitPlane(picture);
        QCOMPARE(size.width, width);
        QCOMPARE(size.height, height);
    }

    void slotsAfterLoad_data()
    {
        QTest::addColumn<int>("n");
        QTest::addColumn<QList<int>>("entries");
        QTest::newRow("one") << 1 << QList<int>{0, 0, 0, 0, 0, 0, 0, 0, 0};
        QTest::newRow("four") << 4 << QList<int>{0, 1, 2, 3, 0, 0, 1, 2, 3};
        QTest::newRow("seven") << 7 << QList<int>{0, 1, 2, 3, 4, 3, 4, 5, 6};
        QTest::newRow("twelve") << 12 << QList<int>{0, 1, 2, 3, 4, 8, 9, 10, 11};
    }
    void slotsAfterLoad()
    {
        QFETCH(int, n);
        QFETCH(QList<int>, entries);
        for (int slot = 0; slot < 9; ++slot)
            QCOMPARE(ring::entryForSlot(slot, n), entries[slot]);
    }

    void stepLoad_data()
    {
        QTest::addColumn<int>("front");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("direction");
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("entry");
        QTest::newRow("first Next of twelve") << 0 << 0 << +1 << 12 << 5 << 5;
        QTest::newRow("first Previous of twelve") << 0 << 0 << -1 << 12 << 4 << 7;
        QTest::newRow("Next past the list's end") << 8 << 10 << +1 << 12 << 4 << 3;
        QTest::newRow("Previous with three entries") << 2 << 1 << -1 << 3 << 6 << 2;
        QTest::newRow("one entry") << 3 << 0 << +1 << 1 << 8 << 0;
    }
    void stepLoad()
    {
        QFETCH(int, front);
        QFETCH(int, number);
        QFETCH(int, direction);
        QFETCH(int, n);
        const ring::StepLoad load = ring::stepLoad(front, number, direction, n);
        QTEST(load.slot, "slot");
        QTEST(load.entry, "entry");
    }
};

QTEST_GUILESS_MAIN(RingArithmetic)
#include "test_ring_arithmetic.moc"
