#include "Catalogue.h"

namespace disegni {

QList<Picture> catalogue()
{
    QList<Picture> pictures;
    addAltre(&pictures);
    return pictures;
}

} // namespace disegni
