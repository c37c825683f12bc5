#pragma once

#include <QString>

#include <vector>

// The close-ups that the synthesis plays before its tests (allontan/, avvici/, oceoce/) are asked
// about too. While a frame is drawn it notes what it put in the picture, so that a test can hold the
// statements about a close-up against what the pupil saw in it.
namespace disegni::sequenze {

// What one frame of a cross-section shows.
struct Fotogramma {
    double oceano = -1;         // km of ocean floor between two continental margins; 0 once they touch;
                                // -1 when there is no continent on both sides
    bool dorsale = false;       // a ridge, magma rising under its axis
    bool fossa = false;         // a trench
    bool lastra = false;        // a plate going down at the trench
    bool lastraOceanica = false; // the crust that reaches the trench is oceanic
    bool sopraOceanica = false; // the plate over the sinking one is oceanic
    int vulcani = 0;            // volcanic cones on the plates
    int isole = 0;              // cones that rise from the sea floor above the sea
    int terremoti = 0;
    bool magmaDallaLastra = false; // magma rises from the sinking plate towards the volcanoes
    double catena = 0;          // km the colliding margins have risen into mountains
    bool pieghe = false;        // the layers of the crust are folded
    int moto = 0;               // arrows drawn: > 0 the plates move away from the boundary, < 0 towards it
};

// The frames of the sequence in folder "allontan", "avvici" or "oceoce", in playing order; empty for
// any other folder.
std::vector<Fotogramma> storia(const QString &cartella);

// What the whole close-up shows.
struct Riassunto {
    bool dorsale = false;          // a ridge in every frame
    bool espansione = false;       // the ocean floor widens while the plates move apart
    bool collisione = false;       // the ocean between two continental margins closes until they touch
    bool catena = false;           // ... and the margins rise into a mountain chain
    bool compressione = false;     // ... pushed together, their layers folded
    bool isoleVulcaniche = false;  // at least two volcanoes grow from the sea floor into islands
    bool archiSuFossa = false;     // the islands rise beside a trench where a plate goes down
    bool archiConvergenti = false; // ... while the plates move towards each other
    bool archiDivergenti = false;  // ... while the plates move apart
    bool archiOceanici = false;    // ... oceanic crust going down under oceanic crust
    bool terremotiArchi = false;   // earthquakes in the frames that show the islands forming
    bool magmaDallaLastra = false; // the islands' magma comes from the sinking plate
    bool fossaDaSubduzione = false; // every trench drawn is where a plate goes down as the plates converge
    bool fossaDaDivergenza = false; // a trench drawn where the plates move apart
};
Riassunto riassunto(const std::vector<Fotogramma> &storia);

} // namespace disegni::sequenze
