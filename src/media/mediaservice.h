// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "media/bitmap.h"
#include "media/resourcepack.h"
#include "media/soundoutput.h"
#include "media/textlist.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <deque>
#include <functional>
#include <memory>

namespace tipsovo {

class Clock;

// The program's media operations: play a named sound, load a named picture, load a named text
// list, and the colour-depth test. The main menu owns the one instance; every screen reaches it
// through AppHost. The sound pack stays open between plays (mapped once, not once per sound).
class MediaService : public QObject {
    Q_OBJECT
public:
    // What became of a sound request that got past the sound switch.
    enum class SoundOutcome {
        Played,  // the output accepted it (after waiting, with keep-trying)
        Refused, // another sound was playing and kept playing
        Missing, // could not start: pack or sound missing, pack malformed, data undecodable
    };
    Q_ENUM(SoundOutcome)

    // packDir: the folder the packs lie in (beside the program).
    MediaService(QString packDir, std::unique_ptr<SoundOutput> output, Clock &clock,
                 QObject *parent = nullptr);
    ~MediaService() override;

    // Plays sound `name` (upper-cased) from pack `pack`. With keepTrying, a request refused
    // because a sound is playing waits for it and starts the moment it ends, without blocking:
    // the event loop runs on (the screen that asked is painted meanwhile). Waiting requests
    // start in the order they were made, and while one waits, a request without keepTrying is
    // refused as if the sound it waits for were playing already. Each wait is bounded by what
    // is left of the playing sound plus a small margin (followed as it plays, within a fixed
    // stretch) and never waits on a sound that cannot start. A waiting request of `requester`
    // is dropped when the requester is destroyed (or forgets it, forgetWaiting). Nothing is
    // ever reported; silence when the switch is off, the pack or sound is missing or there is
    // no device.
    void PredvajajZvok(const QString &name, const QString &pack, bool keepTrying,
                       QObject *requester = nullptr);

    // Drops the waiting requests of `requester` (a screen that closes).
    void forgetWaiting(const QObject *requester);
    // True while a keep-trying request waits for its turn.
    bool hasWaiting() const { return !m_waiting.empty(); }

    // Loads bitmap `name` from `pack` into `picture`. Pack missing or malformed: silently
    // unchanged. Picture missing or undecodable: the error box, picture unchanged.
    void NaloziSliko(const QString &pack, const QString &name, QImage &picture);

    // Replaces `lines` with text list `name` (Windows-1250, split at CR, LF and CR LF).
    // False, and `lines` unchanged, when the pack or list is missing or the pack is malformed.
    bool NaloziSeznam(const QString &pack, const QString &name, QStringList &lines);

    // True when the display uses more than 8 bits per pixel.
    bool VecKot256Barv() const;

    // The sound switch (btnZvok): when off, PredvajajZvok is silent.
    bool soundOn() const { return m_soundOn; }
    void setSoundOn(bool on) { m_soundOn = on; }

    // The hover delay in ms (1..1000); every screen copies it into its hover timer.
    int zamikZvoka() const { return m_zamikZvoka; }
    void setZamikZvoka(int ms);

    void stopAll();
    void releaseSoundPack();

    QString packDir() const { return m_packDir; }
    SoundOutput &output() { return *m_output; }
    Clock &clock() { return m_clock; }

    // How error boxes are shown; tests replace it to record the texts. The default shows a
    // modal message box with an OK button.
    using ErrorReporter = std::function<void(const QString &text)>;
    void setErrorReporter(ErrorReporter reporter) { m_reportError = std::move(reporter); }
    void reportError(const QString &text) const;

    // Opens pack `base` beside the program (case-insensitive file name); nullptr when missing
    // or malformed. For screens that read their own picture packs.
    std::unique_ptr<ResourcePack> openPack(const QString &base) const;

    // How long keep-trying waits beyond what is left of the playing sound, how much further
    // it may follow a sound that takes longer than it first said, and how often it asks again
    // meanwhile (a timer of the event loop).
    static constexpr qint64 kKeepTryingMarginMs = 250;
    static constexpr qint64 kKeepTryingStretchMs = 1500;
    static constexpr qint64 kKeepTryingStepMs = 5;

signals:
    void zamikZvokaChanged(int ms);
    // Once per PredvajajZvok that got past the switch; `name` as the caller gave it. Nothing
    // in the program needs it; tests read the sounds a screen played through it (SoundLog).
    void soundRequested(const QString &name, const QString &pack, bool keepTrying,
                        tipsovo::MediaService::SoundOutcome outcome);

private:
    // A keep-trying request waiting for its turn. Its wait begins when it comes first.
    struct Waiting {
        QString name;
        QString pack;
        PcmSound sound;
        QPointer<QObject> requester;
        bool hasRequester = false;
        qint64 deadlineMs = -1; // -1 until it comes first
        qint64 capMs = -1;
    };

    ResourcePack *soundPack(const QString &pack);
    void beginWait(Waiting &w);
    void tryWaiting();
    void scheduleTry();

    std::deque<Waiting> m_waiting;
    bool m_tryScheduled = false;

    QString m_packDir;
    std::unique_ptr<SoundOutput> m_output;
    Clock &m_clock;
    bool m_soundOn = true;
    int m_zamikZvoka = 300;
    QString m_soundPackName;
    std::unique_ptr<ResourcePack> m_soundPack;
    ErrorReporter m_reportError;
};

// The text for "resource not found" (as a Slovenian system words it), shown by NaloziSliko.
QString resourceNotFoundText();

// The platform's text for a pack that cannot be opened: none of that name in `packDir`, or a
// file that is not a valid pack. Shown by the screens that open their own picture packs.
QString packOpenErrorText(const QString &packDir, const QString &baseName);

// Plays `name` from pack file `packPath` synchronously and releases the pack again (the opening
// sound, before the main menu exists). Silent when anything is missing.
void playFromPackSync(const QString &packPath, const QString &name, SoundOutput &output);

} // namespace tipsovo
