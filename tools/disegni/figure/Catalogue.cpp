#include "Catalogue.h"

namespace disegni {

QList<Picture> catalogue()
{
    QList<Picture> pictures;
    addAltre(&pictures);
    addLezione3(&pictures);
    addLezione5(&pictures);
    addQuestim(&pictures);
    return pictures;
}

} // namespace disegni
