#pragma once

#include <QFont>

class QLabel;
class QWidget;

// A centred label of the ring views, in one of their colours and a size relative to the
// system font. It lets clicks through to the ring.
QLabel* makeRingLabel(QWidget* parent, const char* colour, double pointScale, QFont::Weight weight);
