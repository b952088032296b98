// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "activities/travel/kacamodel.h"
#include "print/worksheets.h"

#include <QImage>
#include <QStringList>
#include <QWidget>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace tipsovo {

class AppHost;
class FlatButton;

// The town card: the shown town's name, its text and its picture from the pack "MESTA". A
// grown-up opens a chooser of all 28 towns by holding Ctrl and typing the code word; "Skrij"
// hides it again. The card reads the town table through the travel game's model, which lives
// as long as the card's parent screen.
class TfMesto : public QWidget {
    Q_OBJECT
public:
    static constexpr const char *kCodeWord = "zrmb";

    TfMesto(AppHost &host, const KacaModel &model, QWidget *parent = nullptr);
    ~TfMesto() override;

    // Shows town `index` of the table: the title, the text (kept as it was when the pack has
    // no text of the town) and the picture.
    void showTown(int index);

    // What a worksheet of the shown town needs.
    const Town &shownTown() const { return m_town; }
    QStringList text() const { return m_text; }
    QImage picture() const { return m_picture; }

    // What the town worksheet prints of the shown town: its name, and its text and picture
    // read afresh from the pack (a town without a text prints an empty memo, whatever the
    // card still shows). Empty while no town has been shown.
    TownSheet worksheet();

    QString typedKeys() const { return m_typed; }
    QComboBox *chooser() const { return m_combo; }
    QPushButton *hideButton() const { return m_btnSkrij; }
    QPlainTextEdit *memo() const { return m_mmoMesto; }
    QLabel *title() const { return m_lblMesto; }

public slots:
    void comboMestaChange(int item);
    void btnSkrijClick();
    void SpeedButton1Click();

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void showEvent(QShowEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void typed(QKeyEvent *e);

    AppHost &m_host;
    const KacaModel &m_model;
    Town m_town;
    QStringList m_text;
    QImage m_picture;
    QString m_typed;
    QLabel *m_lblMesto = nullptr;
    QPlainTextEdit *m_mmoMesto = nullptr;
    QLabel *m_imgSlika = nullptr;
    QComboBox *m_combo = nullptr;
    QPushButton *m_btnSkrij = nullptr;
    FlatButton *m_natisni = nullptr;
    FlatButton *m_zapri = nullptr;
};

} // namespace tipsovo
