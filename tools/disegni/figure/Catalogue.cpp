#include "Catalogue.h"

namespace disegni {

QList<Picture> catalogue()
{
    QList<Picture> pictures;
    addAltre(&pictures);
    addDeriva(&pictures);
    return pictures;
}

} // namespace disegni
