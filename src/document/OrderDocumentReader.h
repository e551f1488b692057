#pragma once

#include "DataPacket.h"

#include <QString>

// `Provedor`: turns the order document into a data packet by the rules of the
// transformation file. Both names take effect at the next request.
class OrderDocumentReader {
public:
    void setTransformationFile(const QString& path) { transformationFile_ = path; }
    void setXmlDataFile(const QString& path) { xmlDataFile_ = path; }

    // Loads the order document, then the transformation file, and applies the rules.
    // Fails with the "XML Parse Error:" message, "Version of Transformation File not
    // supported" or "Missing data provider or data packet".
    DataPacket dataPacket() const;

private:
    QString transformationFile_;
    QString xmlDataFile_;
};
