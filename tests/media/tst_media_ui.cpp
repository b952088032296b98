// SPDX-License-Identifier: GPL-3.0-or-later
// Hover sounds on a screen, the hover-delay dialog and the colour-depth test.

#include "media/delaysetting.h"
#include "media/hint.h"
#include "media/hoversounds.h"
#include "media/manualclock.h"
#include "media/mediaservice.h"
#include "media/recordingsoundoutput.h"
#include "media/tfzamikzvoka.h"

#include <QApplication>
#include <QCheckBox>
#include <QEnterEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace tipsovo;

namespace {

void enter(QWidget *w)
{
    const QPointF p(1, 1);
    QEnterEvent e(p, p, w->mapToGlobal(p));
    QCoreApplication::sendEvent(w, &e);
}

void leave(QWidget *w)
{
    QEvent e(QEvent::Leave);
    QCoreApplication::sendEvent(w, &e);
}

void move(QWidget *w)
{
    const QPointF p(2, 2);
    QMouseEvent e(QEvent::MouseMove, p, w->mapToGlobal(p), Qt::NoButton, Qt::NoButton,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

QLabel *label(QWidget *parent, const QString &name, const QString &hint)
{
    auto *l = new QLabel(name, parent);
    l->setObjectName(name);
    if (!hint.isEmpty())
        setHint(l, hint);
    return l;
}

} // namespace

// One screen with a speaking label, a speaking label nested in a panel, a silent background
// and a label marked HoverSilent. Each sound lasts 100 ms on the manual clock; the clock is
// moved on between requests so no request is refused because the previous one still plays.
class TestHoverSounds : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    ManualClock m_clock;
    std::unique_ptr<MediaService> m_media;
    std::unique_ptr<SoundLog> m_log;
    std::unique_ptr<QWidget> m_screen;
    HoverSounds *m_hover = nullptr;
    QLabel *m_btn = nullptr;
    QLabel *m_nested = nullptr;
    QWidget *m_panel = nullptr;

    void fire()
    {
        m_hover->fireNow();
        m_clock.advance(1000);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(writeTestSoundPack(m_dir.path(), "snd", {"A15", "A16", "A20", "A21", "A22"}, 100));
    }

    void init()
    {
        m_media = std::make_unique<MediaService>(
            m_dir.path(), std::make_unique<RecordingSoundOutput>(m_clock), m_clock);
        m_log = std::make_unique<SoundLog>(*m_media);
        m_screen = std::make_unique<QWidget>();
        m_screen->resize(400, 300);
        m_btn = label(m_screen.get(), "btn1", "A15");
        m_panel = new QWidget(m_screen.get());
        m_panel->setGeometry(200, 0, 200, 200);
        m_nested = label(m_panel, "Label7", "A16");
        m_hover = new HoverSounds(m_screen.get(), *m_media, 300);
    }

    void cleanup()
    {
        m_screen.reset();
        m_log.reset();
        m_media.reset();
    }

    void restingOnAControlSpeaksOnceAfterTheDelay()
    {
        QCOMPARE(m_hover->timer().interval(), 300);
        QVERIFY(m_hover->timer().isSingleShot());
        enter(m_btn);
        QVERIFY(m_hover->timer().isActive());
        QCOMPARE(m_hover->pending(), "A15");
        QVERIFY(m_log->entries().isEmpty()); // nothing before the timer fires
        fire();
        QVERIFY(!m_hover->timer().isActive());
        QVERIFY(m_hover->pending().isEmpty());
        fire(); // pointer still resting: no second time
        QCOMPARE(m_log->names(), QStringList{"A15"});
        QCOMPARE(m_log->entries()[0].pack, "snd");
        QVERIFY(!m_log->entries()[0].keepTrying);
    }

    void leavingBeforeTheDelaySpeaksNothing()
    {
        enter(m_btn);
        leave(m_btn);
        QVERIFY(!m_hover->timer().isActive());
        QVERIFY(m_hover->pending().isEmpty());
        fire();
        QVERIFY(m_log->entries().isEmpty());
    }

    void comingBackSpeaksAgain()
    {
        enter(m_btn);
        fire();
        leave(m_btn);
        enter(m_btn);
        fire();
        QCOMPARE(m_log->names(), (QStringList{"A15", "A15"}));
    }

    void nestedControlsSpeakToo()
    {
        enter(m_panel);
        enter(m_nested);
        fire();
        QCOMPARE(m_log->names(), QStringList{"A16"});
    }

    // Entering anything starts the timer afresh, but the background has nothing to say.
    void backgroundStartsTheTimerButSpeaksNothing()
    {
        enter(m_screen.get());
        QVERIFY(m_hover->timer().isActive());
        QVERIFY(m_hover->pending().isEmpty());
        fire();
        QVERIFY(m_log->entries().isEmpty());
    }

    void movingOverAControlMakesItPending()
    {
        QVERIFY(m_btn->hasMouseTracking());
        QVERIFY(!m_panel->hasMouseTracking()); // no Hint, no tracking
        enter(m_screen.get());
        move(m_screen.get());
        QVERIFY(m_hover->pending().isEmpty());
        move(m_btn);
        QCOMPARE(m_hover->pending(), "A15");
        fire();
        QCOMPARE(m_log->names(), QStringList{"A15"});
    }

    void hoverSilentControlsDoNotSpeak()
    {
        auto *quiet = label(m_screen.get(), "Label9", "A20");
        quiet->setProperty("HoverSilent", true);
        enter(quiet);
        move(quiet);
        QVERIFY(m_hover->pending().isEmpty());
        fire();
        QVERIFY(m_log->entries().isEmpty());
    }

    // Controls created after the helper (the screen builds its exercise later) are watched too,
    // however deep, and get their Hint after being created.
    void controlsAddedLaterSpeak()
    {
        auto *box = new QWidget(m_panel);
        auto *late = new QLabel(box);
        setHint(late, "A21");
        auto *later = label(m_screen.get(), "Label20", "A22");
        QVERIFY(late->hasMouseTracking());
        enter(box);
        enter(late);
        fire();
        leave(late);
        enter(later);
        fire();
        QCOMPARE(m_log->names(), (QStringList{"A21", "A22"}));
    }

    // A hover sound never waits: while another sound plays it is dropped.
    void hoverWhilePlayingIsDropped()
    {
        m_media->PredvajajZvok("A20", "snd", false);
        enter(m_btn);
        m_hover->fireNow();
        QCOMPARE(m_log->names(), QStringList{"A20"});
        QCOMPARE(m_log->refused(), QStringList{"A15"});
        QVERIFY(m_clock.sleeps().isEmpty());
    }

    void changedDelayAppliesAtOnce()
    {
        m_media->setZamikZvoka(1);
        QCOMPARE(m_hover->delay(), 1);
        m_media->setZamikZvoka(1000);
        QCOMPARE(m_hover->timer().interval(), 1000);
    }

    // The toolkit's own enter events, from a pointer moved over the shown screen.
    void realPointerMovesArmTheTimer()
    {
        m_screen->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_screen.get()));
        QTest::mouseMove(m_screen.get(), QPoint(390, 290));
        QTest::mouseMove(m_btn, QPoint(2, 2));
        QVERIFY(m_hover->timer().isActive());
        QCOMPARE(m_hover->pending(), "A15");
        QTest::mouseMove(m_screen.get(), QPoint(150, 250));
        QVERIFY(!m_hover->timer().isActive());
        QVERIFY(m_hover->pending().isEmpty());
    }
};

class TestDelayDialog : public QObject {
    Q_OBJECT

    static QLabel *label1(QWidget &d) { return d.findChild<QLabel *>("Label1"); }
    static QSlider *trackBar(QWidget &d) { return d.findChild<QSlider *>("TrackBar1"); }

private slots:
    void layout()
    {
        TfZamikZvoka d;
        QCOMPARE(d.objectName(), "TfZamikZvoka");
        // The delay's strip of 150 x 54 and the full-screen choice under it.
        QCOMPARE(d.size(), QSize(150, 72));
        QVERIFY(d.windowFlags() & Qt::FramelessWindowHint);
        QSlider *bar = trackBar(d);
        QVERIFY(bar);
        QCOMPARE(bar->orientation(), Qt::Horizontal);
        QCOMPARE(bar->geometry(), QRect(0, 14, 150, 18));
        QCOMPARE(bar->minimum(), 1);
        QCOMPARE(bar->maximum(), 1000);
        QCOMPARE(bar->pageStep(), 50);
        QCOMPARE(bar->tickPosition(), QSlider::NoTicks);
        QCOMPARE(bar->cursor().shape(), Qt::SizeHorCursor);
        QVERIFY(label1(d)->font().bold());
        auto *ok = d.findChild<QPushButton *>("Button1");
        auto *cancel = d.findChild<QPushButton *>("Button2");
        QVERIFY(ok && cancel);
        QCOMPARE(ok->text(), "Potrdi");
        QCOMPARE(cancel->text(), u"Prekliči"_qs);
        QVERIFY(ok->isDefault());
        QStringList captions;
        for (QLabel *l : d.findChildren<QLabel *>())
            captions << l->text();
        QVERIFY(captions.contains("min"));
        QVERIFY(captions.contains("max"));
    }

    void labelFollowsTheTrackBarAndStaysCentred_data()
    {
        QTest::addColumn<int>("value");
        QTest::newRow("1") << 1;
        QTest::newRow("1000") << 1000;
        QTest::newRow("57") << 57;
    }
    void labelFollowsTheTrackBarAndStaysCentred()
    {
        QFETCH(int, value);
        TfZamikZvoka d;
        d.setValue(value);
        QLabel *l = label1(d);
        QCOMPARE(l->text(), QStringLiteral("Zamik zvoka [%1]").arg(value));
        QCOMPARE(l->width(), l->sizeHint().width()); // sized to its text
        QCOMPARE(l->x(), (d.width() - l->width()) / 2);
        QCOMPARE(d.value(), value);
    }

    void confirmTakesTheTrackBar()
    {
        TfZamikZvoka d;
        d.setValue(300);
        d.show();
        trackBar(d)->setValue(1);
        QCOMPARE(label1(d)->text(), "Zamik zvoka [1]");
        QTest::mouseClick(d.findChild<QPushButton *>("Button1"), Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Accepted));
        QCOMPARE(d.value(), 1);
    }

    void cancelAndEscapeReject()
    {
        TfZamikZvoka d;
        d.show();
        QTest::mouseClick(d.findChild<QPushButton *>("Button2"), Qt::LeftButton);
        QCOMPARE(d.result(), int(QDialog::Rejected));
        TfZamikZvoka e;
        e.setResult(QDialog::Accepted);
        e.show();
        QTest::keyClick(&e, Qt::Key_Escape);
        QCOMPARE(e.result(), int(QDialog::Rejected));
        QVERIFY(!e.isVisible());
    }

    // edit() runs the dialog modally; the answer is given from inside its event loop.
    void editStoresTheValueOnlyOnConfirm_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<int>("expected");
        QTest::newRow("Potrdi") << "Button1" << true << 1;
        QTest::newRow("Prekliči") << "Button2" << false << 300;
    }
    void editStoresTheValueOnlyOnConfirm()
    {
        QFETCH(QString, button);
        QFETCH(bool, confirmed);
        QFETCH(int, expected);
        // The full-screen choice: shown as stored, stored only on confirm, both ways.
        for (bool storedFit : {false, true}) {
            FitSetting::write(storedFit);
            QPoint seenAt;
            int seenValue = -1;
            bool seenFit = !storedFit;
            QTimer::singleShot(0, this, [&] {
                auto *d = qobject_cast<TfZamikZvoka *>(QApplication::activeModalWidget());
                if (!d)
                    return;
                seenAt = d->pos();
                seenValue = d->value();
                seenFit = d->findChild<QCheckBox *>("cbCelZaslon")->isChecked();
                trackBar(*d)->setValue(1);
                QTest::mouseClick(d->findChild<QCheckBox *>("cbCelZaslon"), Qt::LeftButton);
                d->findChild<QPushButton *>(button)->click();
            });
            int delay = 300;
            QCOMPARE(TfZamikZvoka::edit(nullptr, QPoint(40, 60), delay), confirmed);
            QCOMPARE(seenValue, 300);
            QCOMPARE(seenAt, QPoint(40, 60));
            QCOMPARE(delay, expected);
            QCOMPARE(seenFit, storedFit);
            QCOMPARE(FitSetting::read(), confirmed ? !storedFit : storedFit);
        }
    }
};

class TestDisplay : public QObject {
    Q_OBJECT
private slots:
    void colourDepthOfTheScreen()
    {
        ManualClock clock;
        MediaService media(QString(), std::make_unique<RecordingSoundOutput>(clock), clock);
        QVERIFY(QGuiApplication::primaryScreen());
        QCOMPARE(media.VecKot256Barv(), QGuiApplication::primaryScreen()->depth() > 8);
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true); // the stored full-screen choice
    int status = 0;
    auto run = [&](QObject &&test) { status |= QTest::qExec(&test, argc, argv); };
    run(TestHoverSounds());
    run(TestDelayDialog());
    run(TestDisplay());
    return status;
}

#include "tst_media_ui.moc"
