// SPDX-License-Identifier: GPL-3.0-or-later
#include "activities/drawing/tfgrafomotorika.h"

#include "activities/drawing/tracingcanvas.h"
#include "media/hint.h"
#include "media/mediaservice.h"
#include "media/resourcepack.h"
#include "widgets/controls.h"
#include "widgets/cursors.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>

namespace tipsovo {

namespace {

const QColor kNavy(0, 0, 128);
constexpr int kFramePen = 3;

// The red outline behind the chosen thumbnail.
class SelectionFrame : public QFrame {
public:
    using QFrame::QFrame;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setPen(QPen(QColor(255, 0, 0), kFramePen, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
    }
};

} // namespace

const QList<TfGrafomotorika::SheetSpec> &TfGrafomotorika::sheets()
{
    static const QList<SheetSpec> list = {
        {"S1", 10, 8},     {"S2", 10, 80},    {"S20A", 10, 152}, {"S20B", 10, 224},
        {"S21A", 10, 295}, {"S3", 10, 367},   {"S4", 10, 439},   {"S5", 10, 511},
        {"S6", 10, 583},   {"S7", 10, 655},   {"S8", 10, 727},   {"S9", 10, 798},
        {"S10", 10, 870},  {"S11", 10, 942},  {"S12", 10, 1014}, {"S13", 10, 1086},
        {"S14", 10, 1158}, {"S15", 10, 1230}, {"S16", 10, 1301}, {"S17", 5, 1373},
        {"S18", 5, 1445},  {"S19", 5, 1517},  {"S22", 5, 1589},  {"S23", 5, 1661},
        {"S24", 5, 1733},  {"S25", 5, 1804},  {"S26", 5, 1876},  {"S27", 5, 1948},
        {"S28", 5, 2020},
    };
    return list;
}

static ActivityScreen::Setup grafomotorikaSetup()
{
    ActivityScreen::Setup s;
    s.objectName = QStringLiteral("TfGrafomotorika");
    s.instruction = QStringLiteral("Z BRINVEL SLEDI ČRTAM ALI REŠI LABIRINT!");
    s.instructionHint = QStringLiteral("A43");
    s.instructionName = QStringLiteral("Panel1");
    return s;
}

TfGrafomotorika::TfGrafomotorika(AppHost &host, QWidget *parent)
    : ActivityScreen(host, grafomotorikaSetup(), parent)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Window, kNavy);
    setPalette(pal);

    // The instruction line: white on navy, the only control that speaks on hover.
    QLabel *line = instructionLine();
    line->setGeometry(176, 16, 601, 41);
    line->setFont(arial(21, true));
    QPalette lp = line->palette();
    lp.setColor(QPalette::WindowText, Qt::white);
    line->setPalette(lp);

    // No marks, counters or exercise commands here; KONEC in white.
    for (const char *name : {"imgPrav", "imgNarobe"})
        if (auto *w = findChild<QLabel *>(QString::fromLatin1(name)))
            w->hide();
    rightLabel()->hide();
    wrongLabel()->hide();
    for (auto c : {Command::Naprej, Command::Pomoc, Command::Natisni, Command::Ponovi}) {
        commandButton(c)->setEnabled(false);
        commandButton(c)->hide();
    }
    FlatButton *konec = commandButton(Command::Konec);
    konec->setTextColor(Qt::white);
    konec->setGeometry(675, 526, 100, 33);

    auto *column = new QFrame(this);
    column->setObjectName(QStringLiteral("Panel2"));
    column->setFrameStyle(QFrame::Panel | QFrame::Raised);
    column->setLineWidth(5);
    column->setGeometry(10, 10, 157, height() - 20);

    m_scroll = new QScrollArea(column);
    m_scroll->setObjectName(QStringLiteral("ScrollBox1"));
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_scroll->setGeometry(column->contentsRect().x(), column->contentsRect().y(), 145,
                          column->contentsRect().height());
    auto *box = new QWidget;
    box->setAutoFillBackground(true);
    QPalette bp = box->palette();
    bp.setColor(QPalette::Window, kNavy);
    box->setPalette(bp);
    box->setFixedSize(145 - m_scroll->verticalScrollBar()->sizeHint().width(), 2085 + 9);

    m_okvir = new SelectionFrame(box);
    m_okvir->setObjectName(QStringLiteral("shpOkvir"));
    m_okvir->setGeometry(5, sheets().first().top - kFramePen, 106, 72);
    for (int i = 0; i < sheets().size(); ++i) {
        const SheetSpec &s = sheets().at(i);
        auto *thumb = new PictureBox(box);
        thumb->setObjectName(QStringLiteral("Image%1").arg(i + 1));
        thumb->setAccessibleName(QStringLiteral("Vzorec %1").arg(i + 1));
        thumb->setGeometry(8, s.top, 100, 66);
        thumb->setScaledContents(true);
        thumb->setAlignment(Qt::AlignCenter);
        setHint(thumb, QString::fromLatin1(s.name));
        setTag(thumb, s.penWidth);
        // Its hint names a sheet, not a sound.
        thumb->setProperty("HoverSilent", true);
        setClickable(thumb, true);
        connect(thumb, &PictureBox::pressed, this, [this, i] { chooseSheet(i); });
        m_thumbs.append(thumb);
    }
    auto *spacer = new QWidget(box);
    spacer->setGeometry(8, 2085, 99, 9);
    m_okvir->lower();
    m_scroll->setWidget(box);

    m_canvas = new TracingCanvas(kAreaSize, kNavy, this);
    m_canvas->setObjectName(QStringLiteral("PaintBox1"));
    m_canvas->move(180, 96);
    m_canvas->setCursor(programCursor(crPinel2));
    m_canvas->sheet().setPenWidth(10);
    m_canvas->setFirstSheet([this] { return m_pictures.value(0); });

    loadSheets();
}

void TfGrafomotorika::loadSheets()
{
    m_pictures = QList<QImage>(sheets().size());
    const std::unique_ptr<ResourcePack> pack = media().openPack(QStringLiteral("Grafomotorika"));
    if (!pack) {
        media().reportError(packOpenErrorText(media().packDir(), QStringLiteral("Grafomotorika")));
        return;
    }
    for (int i = 0; i < m_thumbs.size(); ++i) {
        // A sheet the pack lacks leaves its thumbnail and its sheet empty.
        const auto dib = pack->find(ResourceKind::Bitmap, hintOf(m_thumbs.at(i)).toUpper());
        QImage picture;
        if (dib && decodeBitmapResource(*dib, &picture)) {
            m_pictures[i] = picture;
            m_thumbs.at(i)->setPixmap(QPixmap::fromImage(picture));
        }
    }
}

void TfGrafomotorika::chooseSheet(int i)
{
    if (i < 0 || i >= m_thumbs.size())
        return;
    PictureBox *thumb = m_thumbs.at(i);
    m_okvir->move(m_okvir->x(), thumb->y() - kFramePen);
    m_okvir->lower();
    m_canvas->firstSheetDone();
    m_canvas->sheet().showSheet(m_pictures.at(i));
    m_canvas->sheet().setPenWidth(tagOf(thumb));
    m_canvas->update();
}

} // namespace tipsovo
