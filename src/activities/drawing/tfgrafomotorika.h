// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "activities/common/activityscreen.h"

#include <QImage>
#include <QList>

class QFrame;
class QScrollArea;

namespace tipsovo {

class PictureBox;
class TracingCanvas;

// Follow lines: the child picks a tracing sheet (lines to follow or a maze) from a column of
// thumbnails and draws over it with the red pen while the left button is held. Nothing is
// checked or counted. The sheets come from the pack "Grafomotorika", opened once here.
class TfGrafomotorika : public ActivityScreen {
    Q_OBJECT
public:
    struct SheetSpec {
        const char *name; // resource name, also the thumbnail's hint
        int penWidth;     // the thumbnail's tag
        int top;          // the thumbnail's top in the scroll box
    };
    static const QList<SheetSpec> &sheets();
    static constexpr QSize kAreaSize{593, 400};

    explicit TfGrafomotorika(AppHost &host, QWidget *parent = nullptr);

    PictureBox *thumbnail(int i) const { return m_thumbs.value(i); } // 0..28
    QImage sheetPicture(int i) const { return m_pictures.value(i); }
    QFrame *selectionFrame() const { return m_okvir; }
    TracingCanvas *drawingArea() const { return m_canvas; }
    QScrollArea *scrollBox() const { return m_scroll; }

    // Image1Click: the sheet of thumbnail i in the drawing area, its pen, the frame around it.
    void chooseSheet(int i);

protected:
    void openingSet() override {} // no exercise set on this screen

private:
    void loadSheets();

    QList<PictureBox *> m_thumbs;
    QList<QImage> m_pictures;
    QFrame *m_okvir = nullptr;
    QScrollArea *m_scroll = nullptr;
    TracingCanvas *m_canvas = nullptr;
};

} // namespace tipsovo
