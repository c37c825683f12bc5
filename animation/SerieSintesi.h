#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The animated synthesis as a series of frames: the 62 main pictures, the stops where a test opens, the
// close-ups that play before the tests of sequences 2 to 4, the rewind to the start of a sequence. It
// knows nothing of widgets or timers: the screen asks it what to show at each tick.
class SerieSintesi {
public:
    static constexpr int numfotogrammi = 62;

    enum class Fermata {
        Nessuna,
        Test,            // a sequence is over: its test opens
        Ingrandimento,   // a close-up plays before the test
        Fine,            // the last picture: the exercise is over
    };
    struct Passo {
        int fotogramma = 0;
        QString immagine;
        Fermata fermata = Fermata::Nessuna;
    };

    // The picture of frame 1-62 ("immagini\New-k.gif"); empty for any other number.
    static QString fotogrammi(int fotogramma);
    static Fermata fermataA(int fotogramma);
    // The close-ups, in playing order.
    static QStringList avvici();
    static QStringList oceoce();
    static QStringList allontan();
    // The close-up that starts at a frame (44, 50, 58), or none.
    static QStringList ingrandimentoA(int fotogramma);
    // The test that opens at a frame: 1 at 30, 2 at 45, 3 at 51, 4 at 59, else 0.
    static int provaA(int fotogramma);

    int fotogramma() const { return m_fotogramma; }

    // One tick of the main series: the next frame, never beyond the last.
    Passo avanza();
    // Back to just before the sequence in play, so that the next tick replays it (1-30 to 1, 31-45 to
    // 31, 46-51 to 46, 52-59 to 52). False, and nothing changes, outside the four sequences.
    bool riavvolgi();
    // Back to before frame 1.
    void ricomincia();

    // The pictures of the next `quante` ticks of the main series, in order (the last frame stays).
    QStringList prossimi(int quante) const;
    // The pictures the close-up shows next: the rest of the one playing, or the first ones of the close-up
    // that the next `quante` frames start, unless a test comes first.
    QStringList prossimiIngrandimento(int quante) const;

    // Starts the close-up of the frame the series stopped at and gives its first picture (empty when
    // this frame has none).
    QString iniziaIngrandimento();
    // One tick of the close-up: its next picture, or nothing once it is over.
    std::optional<QString> avanzaIngrandimento();
    void interrompiIngrandimento();
    bool ingrandimentoInCorso() const { return m_inCorso; }
    int contingrandimento() const { return m_contingrandimento; }
    int numingrandimento() const { return int(m_ingrandimento.size()); }

private:
    int m_fotogramma = 0;
    QStringList m_ingrandimento;
    int m_contingrandimento = 0;
    bool m_inCorso = false;
};
