// The menu movie: every button sends its own command word once per click, and the
// buttons fit the window without overlapping at both screen modes.
#include "platform/menu/movieplayer.h"

#include <QQuickItem>
#include <QSet>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

// Every command word of the main menu's command table.
const QStringList AllWords = {
    QStringLiteral("lx"),    QStringLiteral("lx2"),   QStringLiteral("lx3"),    QStringLiteral("lx4"),
    QStringLiteral("lx5"),   QStringLiteral("ksdg"),  QStringLiteral("zsd"),    QStringLiteral("mnks"),
    QStringLiteral("mnks2"), QStringLiteral("mnks3"), QStringLiteral("mnks4"),  QStringLiteral("mnks5"),
    QStringLiteral("cj"),    QStringLiteral("tj"),    QStringLiteral("rz"),     QStringLiteral("szjh"),
    QStringLiteral("szks"),  QStringLiteral("music"), QStringLiteral("sztime"), QStringLiteral("sj"),
    QStringLiteral("fg"),    QStringLiteral("lxfs"),  QStringLiteral("help"),   QStringLiteral("about"),
    QStringLiteral("quit"),
};

QString moviePath()
{
    return QStringLiteral(PREPDESK_SOURCE_DIR "/assets/pic/main.qml");
}

} // namespace

class TestMenuMovie : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<menu::MoviePlayer> player;

    // The movie's buttons: items named "btn_..." that carry a command word.
    QList<QQuickItem*> buttons() const
    {
        QList<QQuickItem*> found;
        for (QQuickItem* item : named(QStringLiteral("btn_"))) {
            if (item->property("command").isValid()) found << item;
        }
        return found;
    }

    // The labelled groups ("grp_...") that hold the buttons.
    QList<QQuickItem*> groups() const { return named(QStringLiteral("grp_")); }

    QList<QQuickItem*> named(const QString& prefix) const
    {
        QList<QQuickItem*> found;
        const auto items = player->rootObject()->findChildren<QQuickItem*>();
        for (QQuickItem* item : items) {
            if (item->objectName().startsWith(prefix)) found << item;
        }
        return found;
    }

    // Every rectangle lies inside the view and none overlaps another.
    void checkApart(const QList<QQuickItem*>& items, const QRectF& view)
    {
        for (int i = 0; i < items.size(); ++i) {
            const QRectF a = sceneRect(items[i]);
            const QByteArray name = items[i]->objectName().toUtf8();
            QVERIFY2(view.contains(a), name.constData());
            for (int j = i + 1; j < items.size(); ++j)
                QVERIFY2(!a.intersects(sceneRect(items[j])),
                         (name + " / " + items[j]->objectName().toUtf8()).constData());
        }
    }

    QQuickItem* buttonFor(const QString& word) const
    {
        for (QQuickItem* item : buttons()) {
            if (item->property("command").toString() == word) return item;
        }
        return nullptr;
    }

    QRectF sceneRect(QQuickItem* item) const
    {
        return item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
    }

    // Resizes the view and renders one frame so that bindings and layouts are settled.
    void showAt(const QSize& size)
    {
        player->resize(size);
        QTRY_COMPARE(player->rootObject()->size(), QSizeF(size));
        (void)player->grabFramebuffer();
    }

private slots:
    void initTestCase()
    {
        player = std::make_unique<menu::MoviePlayer>();
        player->resize(800, 600);
        QVERIFY2(player->setMovie(moviePath()), qPrintable(moviePath()));
        player->show();
        QVERIFY(QTest::qWaitForWindowExposed(player.get()));
        QTRY_VERIFY_WITH_TIMEOUT(player->rootObject()->property("introDone").toBool(), 5000);
    }

    void cleanupTestCase() { player.reset(); }

    void commandsAreTheFullTable()
    {
        QStringList words;
        for (QQuickItem* item : buttons())
            words << item->property("command").toString();
        QCOMPARE(QSet<QString>(words.begin(), words.end()), QSet<QString>(AllWords.begin(), AllWords.end()));
        // One button per word.
        QCOMPARE(words.size(), AllWords.size());
    }

    void clickSendsWordOnce_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QSize>("size");
        for (const QSize size : {QSize(800, 600), QSize(1024, 768)}) {
            for (const QString& word : AllWords)
                QTest::addRow("%s@%d", qPrintable(word), size.width()) << word << size;
        }
    }
    void clickSendsWordOnce()
    {
        QFETCH(QString, word);
        QFETCH(QSize, size);
        showAt(size);
        QQuickItem* button = buttonFor(word);
        QVERIFY2(button, qPrintable(word));
        QSignalSpy spy(player.get(), &menu::MoviePlayer::FSCommand);
        QTest::mouseClick(player.get(), Qt::LeftButton, {}, sceneRect(button).center().toPoint());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), word);
    }

    void buttonsFitWithoutOverlap_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("800x600") << QSize(800, 600);
        QTest::newRow("1024x768") << QSize(1024, 768);
        QTest::newRow("1920x1080") << QSize(1920, 1080);
    }
    void buttonsFitWithoutOverlap()
    {
        QFETCH(QSize, size);
        showAt(size);
        const QRectF view(QPointF(0, 0), QSizeF(size));
        const QList<QQuickItem*> all = buttons();
        const QList<QQuickItem*> cards = groups();
        QVERIFY(!all.isEmpty());
        QVERIFY(!cards.isEmpty());
        checkApart(all, view);
        if (QTest::currentTestFailed()) return;
        checkApart(cards, view);
        if (QTest::currentTestFailed()) return;
        for (QQuickItem* button : all) {
            const QRectF a = sceneRect(button);
            const QByteArray name = button->objectName().toUtf8();
            // Large enough to read and hit with the mouse, and inside one of the groups.
            QVERIFY2(a.height() >= 24 && a.width() >= 80, name.constData());
            const bool grouped = std::any_of(cards.begin(), cards.end(),
                                             [&](QQuickItem* card) { return sceneRect(card).contains(a); });
            QVERIFY2(grouped, name.constData());
        }
    }
};

QTEST_MAIN(TestMenuMovie)
#include "tst_menumovie.moc"
