// Draws the pictures and icons the program names and writes them into the program folder:
//   make_assets <program-folder>
// Icons are small drawings with a glyph; the pictures are the login banner, the frame's tiled
// background, the backup reminder's picture and the support button's picture.
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <vector>

namespace {

QImage icon(QColor colour, const QString& glyph, QColor ink = Qt::white) {
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 32);
    g.setColorAt(0, colour.lighter(135));
    g.setColorAt(1, colour.darker(120));
    p.setBrush(g);
    p.setPen(QPen(colour.darker(160), 1));
    p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);
    QFont f("DejaVu Sans", glyph.size() > 2 ? 9 : 15, QFont::Bold);
    p.setFont(f);
    p.setPen(ink);
    p.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, glyph);
    return img;
}

QImage arrowIcon(bool right) {
    QImage img(16, 16, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    if (right) {
        path.moveTo(4, 3);
        path.lineTo(13, 8);
        path.lineTo(4, 13);
    } else { // a plus in a box: a menu with lines below it
        p.setPen(QPen(QColor(30, 80, 160), 1.2));
        p.setBrush(QColor(220, 235, 255));
        p.drawRect(QRectF(1.5, 1.5, 13, 13));
        p.drawLine(QPointF(4, 8), QPointF(12, 8));
        p.drawLine(QPointF(8, 4), QPointF(8, 12));
        return img;
    }
    path.closeSubpath();
    p.fillPath(path, QColor(0, 120, 40));
    return img;
}

// A leaf of a wall calendar: a red band with two rings over a grid of days, one of them marked.
// The date buttons' icon adds a small arrow: the calendar opens from the button.
QImage calendarIcon(bool popup) {
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF leaf(3.5, 5.5, 25, 23);
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(leaf, 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 40, 40));
    p.drawRect(QRectF(4, 6, 24, 6));
    p.setBrush(QColor(60, 60, 60));
    p.drawRoundedRect(QRectF(9, 2.5, 3, 6), 1.5, 1.5);
    p.drawRoundedRect(QRectF(20, 2.5, 3, 6), 1.5, 1.5);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col) {
            const QRectF cell(6.5 + col * 5.5, 14.5 + row * 4.5, 4, 3);
            const bool marked = row == 1 && col == 2;
            p.setBrush(marked ? QColor(0, 0, 255) : QColor(170, 170, 170));
            p.drawRect(cell);
        }
    if (popup) {
        QPainterPath arrow;
        arrow.moveTo(19, 24);
        arrow.lineTo(31, 24);
        arrow.lineTo(25, 31);
        arrow.closeSubpath();
        p.setPen(QPen(Qt::white, 1));
        p.setBrush(QColor(0, 120, 40));
        p.drawPath(arrow);
    }
    return img;
}

QImage banner() {
    QImage img(360, 110, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 360, 110);
    g.setColorAt(0, QColor(0, 60, 130));
    g.setColorAt(1, QColor(0, 140, 190));
    p.fillRect(img.rect(), g);
    p.setPen(QColor(255, 255, 255, 60));
    for (int x = -110; x < 360; x += 14) p.drawLine(x, 110, x + 110, 0);
    p.setPen(Qt::white);
    p.setFont(QFont("DejaVu Sans", 30, QFont::Bold));
    p.drawText(QRect(0, 10, 360, 60), Qt::AlignCenter, "Saldora");
    p.setFont(QFont("DejaVu Sans", 10));
    p.drawText(QRect(0, 70, 360, 30), Qt::AlignCenter, QString::fromUtf8("Conta corrente de clientes e filiais"));
    return img;
}

QImage background() {
    QImage img(200, 200, QImage::Format_RGB32);
    QPainter p(&img);
    p.fillRect(img.rect(), QColor(18, 70, 120));
    p.setPen(QColor(30, 90, 145));
    for (int i = 0; i < 200; i += 20) {
        p.drawLine(i, 0, i, 200);
        p.drawLine(0, i, 200, i);
    }
    return img;
}

QImage sinking() {
    QImage img(120, 120, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(img.rect(), QColor(200, 225, 245));
    QPainterPath hull; // a boat going down by the bow
    hull.moveTo(20, 50);
    hull.lineTo(95, 78);
    hull.lineTo(80, 95);
    hull.lineTo(25, 70);
    hull.closeSubpath();
    p.fillPath(hull, QColor(150, 60, 40));
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(50, 60, 58, 25);
    p.fillRect(QRect(0, 82, 120, 38), QColor(20, 90, 160, 220));
    p.setPen(QPen(QColor(255, 255, 255), 2));
    for (int x = 0; x < 120; x += 20) p.drawArc(x, 78, 20, 10, 0, 180 * 16);
    return img;
}

QImage headset() {
    QImage img(48, 48, QImage::Format_RGB32);
    img.fill(QColor(255, 255, 255));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 90, 170), 4));
    p.drawArc(8, 6, 32, 32, 0, 180 * 16);
    p.setBrush(QColor(0, 90, 170));
    p.drawRoundedRect(5, 20, 8, 14, 3, 3);
    p.drawRoundedRect(35, 20, 8, 14, 3, 3);
    p.setPen(QPen(QColor(0, 90, 170), 2));
    p.drawLine(39, 34, 30, 42);
    return img;
}

// GIF 87a with a 256-colour palette and plain codes: a clear code every 254 codes keeps the code
// width at 9 bits, so no dictionary is ever needed.
bool writeGif(const QImage& source, const QString& path) {
    QImage img = source.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
    QVector<QRgb> colours = img.colorTable();
    colours.resize(256);
    std::vector<unsigned char> out = {'G', 'I', 'F', '8', '7', 'a'};
    auto word = [&](int v) {
        out.push_back(v & 0xFF);
        out.push_back((v >> 8) & 0xFF);
    };
    word(img.width());
    word(img.height());
    out.push_back(0xF7); // global palette of 256 colours
    out.push_back(0);
    out.push_back(0);
    for (QRgb c : colours) {
        out.push_back(qRed(c));
        out.push_back(qGreen(c));
        out.push_back(qBlue(c));
    }
    out.push_back(','); // image descriptor
    word(0);
    word(0);
    word(img.width());
    word(img.height());
    out.push_back(0);
    out.push_back(8); // minimum code size
    std::vector<unsigned char> data;
    unsigned bits = 0, nbits = 0;
    auto putCode = [&](unsigned code) {
        bits |= code << nbits;
        nbits += 9;
        while (nbits >= 8) {
            data.push_back(bits & 0xFF);
            bits >>= 8;
            nbits -= 8;
        }
    };
    const unsigned clear = 256, end = 257;
    int sinceClear = 0;
    putCode(clear);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            putCode(img.pixelIndex(x, y));
            if (++sinceClear == 254) {
                putCode(clear);
                sinceClear = 0;
            }
        }
    putCode(end);
    if (nbits) data.push_back(bits & 0xFF);
    for (size_t i = 0; i < data.size(); i += 255) {
        size_t n = std::min<size_t>(255, data.size() - i);
        out.push_back(static_cast<unsigned char>(n));
        out.insert(out.end(), data.begin() + i, data.begin() + i + n);
    }
    out.push_back(0);
    out.push_back(';');
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    return f.write(reinterpret_cast<const char*>(out.data()), out.size()) ==
           static_cast<qint64>(out.size());
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: make_assets <pasta-do-programa>\n");
        return 2;
    }
    QDir folder(QString::fromLocal8Bit(argv[1]));
    folder.mkpath(".");
    struct Icon { const char* name; QColor colour; const char* glyph; };
    const Icon icons[] = {
        {"kvelt.ico", QColor(0, 90, 170), "S"},      {"saldora.ico", QColor(0, 120, 80), "S"},
        {"ok.ico", QColor(0, 140, 60), "✓"},         {"cancela.ico", QColor(190, 30, 30), "✗"},
        {"Ajuda.ico", QColor(30, 90, 200), "?"},      {"Users.ico", QColor(120, 70, 160), "☺"},
        {"EditCut.ico", QColor(90, 90, 90), "✂"},     {"EditCopy.ico", QColor(90, 90, 90), "⎘"},
        {"EditPaste.ico", QColor(90, 90, 90), "▤"},   {"print1.ico", QColor(60, 60, 60), "⎙"},
        {"ABOUT.ICO", QColor(0, 120, 170), "i"},      {"exitsign.ico", QColor(170, 40, 40), "⏻"},
        {"menu_tree_1.ico", QColor(0, 90, 170), "≡"}, {"este.ico", QColor(0, 140, 60), "F5"},
        {"inclui.ico", QColor(0, 110, 190), "+"},     {"altera.ico", QColor(200, 140, 0), "✎"},
        {"exclui.ico", QColor(190, 30, 30), "−"},     {"saida.ico", QColor(110, 110, 110), "⏏"},
        {"calculadora.ico", QColor(70, 70, 90), "="}, {"temas.ico", QColor(150, 60, 140), "◐"},
        {"agenda.ico", QColor(180, 100, 20), "▦"},    {"fontes.ico", QColor(60, 60, 140), "A"},
        {"acesso.ico", QColor(0, 120, 120), "☰"},     {"setup.ico", QColor(90, 90, 90), "⚙"},
        {"CRDFLE12.ICO", QColor(0, 110, 190), "+"},   {"ERASE02.ICO", QColor(200, 140, 0), "✎"},
        {"TRASH01.ICO", QColor(190, 30, 30), "✕"},     {"DOORWAY.ICO", QColor(110, 110, 110), "⏏"},
    };
    bool ok = true;
    for (const auto& i : icons)
        ok &= icon(i.colour, QString::fromUtf8(i.glyph)).save(folder.filePath(i.name), "ICO");
    ok &= arrowIcon(false).save(folder.filePath("menu_mais_1.ico"), "ICO");
    ok &= arrowIcon(true).save(folder.filePath("seta_direita_1.ico"), "ICO");
    ok &= calendarIcon(false).save(folder.filePath("DATE.ICO"), "ICO");
    ok &= calendarIcon(true).save(folder.filePath("DATEPOP.ICO"), "ICO");
    ok &= banner().save(folder.filePath("Login.jpg"), "JPG", 90);
    ok &= background().save(folder.filePath("TelaDeFundo.jpg"), "JPG", 90);
    ok &= sinking().save(folder.filePath("afundar.jpg"), "JPG", 90);
    QDir images(folder.filePath("../IMAGENS"));
    images.mkpath(".");
    ok &= writeGif(headset(), images.filePath("suporte.gif"));
    if (!ok) std::fprintf(stderr, "make_assets: não foi possível gravar todas as figuras\n");
    return ok ? 0 : 1;
}
