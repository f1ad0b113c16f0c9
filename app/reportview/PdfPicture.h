#pragma once

#include <QByteArray>
#include <QImage>

// Draws a PDF as one picture: its pages one below the other.
class PdfPicture {
public:
    // `scale` is device pixels per CSS pixel. Null when the document cannot be read.
    static QImage render(const QByteArray& pdf, qreal scale);
};
