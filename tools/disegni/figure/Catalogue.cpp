#include "Catalogue.h"

namespace disegni {

QList<Picture> catalogue()
{
    QList<Picture> pictures;
    addAltre(&pictures);
    addLezione3(&pictures);
    addLezione5(&pictures);
    addQuestim(&pictures);
    addLezione1(&pictures);
    addLezione2(&pictures);
    addLezione4(&pictures);
    addDeriva(&pictures);
    addSequenze(&pictures);
    addSerie(&pictures);
    return pictures;
}

} // namespace disegni
