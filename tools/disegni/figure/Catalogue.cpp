#include "Catalogue.h"

namespace disegni {

QList<Picture> catalogue()
{
    QList<Picture> pictures;
    addAltre(&pictures);
    addSequenze(&pictures);
    return pictures;
}

} // namespace disegni
