#include "viewport/bitmap_font.h"

#include <GL/gl.h>

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <vector>

bool BuildBitmapFont(unsigned base, const QFont& requested) {
    QFont font(requested);
    font.setStyleStrategy(QFont::NoAntialias);  // bitmaps are one bit deep
    const QFontMetrics metrics(font);
    const int height = std::max(1, metrics.height());
    const int descent = metrics.descent();
    GLint previousAlignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &previousAlignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    std::vector<GLubyte> bits;
    for (int code = 0; code < kBitmapFontCodes; ++code) {
        const QChar ch = QChar::fromLatin1(static_cast<char>(code));
        const bool printable = ch.isPrint();
        const int advance = printable ? metrics.horizontalAdvance(ch) : 0;
        const int width = std::max(1, advance);
        const int rowBytes = (width + 7) / 8;
        bits.assign(static_cast<size_t>(rowBytes) * static_cast<size_t>(height), 0);
        if (printable) {
            QImage glyph(width, height, QImage::Format_Grayscale8);
            glyph.fill(0);
            QPainter p(&glyph);
            p.setFont(font);
            p.setPen(Qt::white);
            p.drawText(0, metrics.ascent(), QString(ch));
            p.end();
            // glBitmap rows run bottom-up, most significant bit first.
            for (int y = 0; y < height; ++y) {
                const uchar* line = glyph.constScanLine(height - 1 - y);
                for (int x = 0; x < width; ++x)
                    if (line[x] > 127)
                        bits[static_cast<size_t>(y * rowBytes + x / 8)] |= 0x80 >> (x % 8);
            }
        }
        glNewList(base + static_cast<unsigned>(code), GL_COMPILE);
        glBitmap(width, height, 0.0f, static_cast<GLfloat>(descent), static_cast<GLfloat>(advance),
                 0.0f, bits.data());
        glEndList();
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, previousAlignment);
    return glIsList(base + 'X') == GL_TRUE && glGetError() == GL_NO_ERROR;
}

void DeleteBitmapFont(unsigned base) {
    glDeleteLists(base, kBitmapFontCodes);
}
