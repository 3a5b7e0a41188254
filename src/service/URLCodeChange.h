#pragma once

#include <QByteArray>
#include <QString>

// Encodes a byte string (here UTF-8) for the query string of a page address: letters, digits and
// - . / " ' = ? _ stay, a blank becomes "+" or "%20", every other byte "%XX" in upper-case hex.
QString EncodeUrlComponent(const QByteArray &text, bool spaceAsPlus);
