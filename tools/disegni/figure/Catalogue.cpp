#include "Catalogue.h"

namespace disegni {

QList<Picture> catalogue()
{
    QList<Picture> pictures;
    addAltre(&pictures);
    addQuestim(&pictures);
    return pictures;
}

} // namespace disegni
