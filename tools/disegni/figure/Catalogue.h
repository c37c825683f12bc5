#pragma once

#include "GeoData.h"
#include "Plates.h"

#include <QImage>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

namespace disegni {

// What a picture may draw from; the plate model is built on first use.
class PictureContext
{
public:
    explicit PictureContext(GeoData &data)
        : m_data(data)
    {
    }

    GeoData &data() { return m_data; }
    const PlateModel &plates()
    {
        if (!m_plates)
            m_plates = std::make_unique<PlateModel>(m_data);
        return *m_plates;
    }

private:
    GeoData &m_data;
    std::unique_ptr<PlateModel> m_plates;
};

struct Picture {
    QString path;        // relative to the output folder, as the course names it: "altre/placche1.jpg"
    QString description;
    std::function<QImage(PictureContext &)> draw;
};

// Every picture the program knows, in drawing order.
QList<Picture> catalogue();

// One function per group of pictures, each in its own file.
void addAltre(QList<Picture> *pictures);
void addLezione3(QList<Picture> *pictures);
void addLezione5(QList<Picture> *pictures);
void addQuestim(QList<Picture> *pictures);
void addLezione1(QList<Picture> *pictures);
void addLezione2(QList<Picture> *pictures);
void addLezione4(QList<Picture> *pictures);
void addDeriva(QList<Picture> *pictures);
void addSequenze(QList<Picture> *pictures);
void addSerie(QList<Picture> *pictures);

} // namespace disegni
