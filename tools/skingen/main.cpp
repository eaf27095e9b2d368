// vibralon-skingen OUTDIR [--preview PREFIX]
// vibralon-skingen --app-icons DIR NAME
// Draws every skin picture into OUTDIR under its component's name. With --preview it also
// writes PREFIX-rest.png and PREFIX-active.png: the whole client area as the window composes it,
// at rest and with a note, a lit bar, an arrow, a lit string and the lamp on.
// --app-icons draws the window icon for the desktop's icon theme as DIR/SIZExSIZE/apps/NAME.png:
// at 32 exactly the sixteen colours of MAINICON, larger sizes smooth.
#include "drawing.h"
#include "layout.h"
#include "picture_files.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>
#include <exception>
#include <map>
#include <stdexcept>
#include <string>

namespace skingen {
namespace {

const IconPalette kVga{
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};

void drawAppIcons(const QDir& dir, const QString& name) {
    for (int size : {32, 48, 64, 128, 256}) {
        const QString sub = QString("%1x%1/apps").arg(size);
        if (!dir.mkpath(sub))
            throw std::runtime_error("cannot create " + dir.filePath(sub).toStdString());
        const QImage icon = size == kIconGrid ? icon16Look(drawIcon(), kVga) : drawIcon(size);
        writePng(icon, dir.filePath(sub + "/" + name + ".png"));
    }
}

class Generator {
public:
    explicit Generator(QString dir) : dir_(std::move(dir)) {}

    void run() {
        fond_ = bmp8("Fond", drawFond(), {qRgb(52, 49, 62), qRgb(255, 255, 255)});
        shape1_ = store("Shape1", writeBmp24(drawShape1(), path("Shape1.bmp")));
        store("Off", writeBmp24(drawLamp(underFond("Off"), false), path("Off.bmp")));
        store("On", writeBmp24(drawLamp(underFond("On"), true), path("On.bmp")));
        store("Image2", writeBmp24(drawHelpMark(underFond("Image2")), path("Image2.bmp")));
        const QImage logo = drawLogo(underFond("Image3"));
        bmp8("Image3", logo, borderColours(logo));
        for (const StringButton& b : kStringButtons) {
            const QString name = QString::fromLatin1(b.name);
            const QImage unlit = drawStringButton(underFond(name.toStdString()), name, false);
            bmp8(name, unlit, borderColours(unlit));
            const QImage lit = drawStringButton(underFond("L" + name.toStdString()), name, true);
            if (b.litAsJpeg)
                store("L" + name, writeJpeg(lit, path("L" + name + ".jpg")));
            else
                bmp8("L" + name, lit, borderColours(lit));
        }
        store("moins", writeJpeg(drawMoins(underShape1("moins")), path("moins.jpg")));
        store("plus", writeJpeg(drawPlus(underShape1("plus")), path("plus.jpg")));
        store("Liste", writeBmp555(drawNoteStrip(), path("Liste.bmp")));
        store("MAINICON", writeIcon16(drawIcon(), kVga, path("MAINICON.ico")));
    }

    void preview(const QString& prefix) const {
        compose(false).save(prefix + "-rest.png");
        compose(true).save(prefix + "-active.png");
    }

private:
    QString path(const QString& file) const { return QDir(dir_).filePath(file); }

    QImage store(const QString& name, const QImage& look) {
        looks_[name] = look;
        return look;
    }
    QImage bmp8(const QString& name, const QImage& drawing, const std::vector<QRgb>& keep) {
        return store(name, writeBmp8(quantise(drawing, keep), path(name + ".bmp")));
    }
    // What lies beneath the component on the body or the panel.
    QImage underFond(const std::string& component) const {
        return fond_.copy(QRect(FondPoint(PlaceOf(component)), SizeOf(component)));
    }
    QImage underShape1(const std::string& component) const {
        return shape1_.copy(QRect(Shape1Point(PlaceOf(component)), SizeOf(component)));
    }

    QImage compose(bool active) const {
        QImage client(form1::kForm.clientWidth, form1::kForm.clientHeight, QImage::Format_RGB32);
        client.fill(QColor(239, 239, 239));
        QPainter p(&client);
        QImage panel = shape1_;
        if (active) {
            const QImage& strip = looks_.at("Liste");
            QPainter s(&panel);
            s.drawImage(ToQt(form1::kNoteAt), strip, StripCell(9)); // A
            s.fillRect(ToQt(form1::MeterBar(5)), QColor(64, 255, 64));
        }
        p.drawImage(PlaceOf("Fond"), fond_);
        p.drawImage(PlaceOf("Shape1"), panel);
        p.drawImage(PlaceOf(active ? "On" : "Off"), looks_.at(active ? "On" : "Off"));
        p.drawImage(PlaceOf("Image2"), looks_.at("Image2"));
        p.drawImage(PlaceOf("Image3"), looks_.at("Image3"));
        for (const StringButton& b : kStringButtons) {
            const bool lit = active && QString(b.name) == "A5";
            const std::string name = (lit ? "L" : "") + std::string(b.name);
            p.drawImage(PlaceOf(name), looks_.at(QString::fromStdString(name)));
        }
        if (active) {
            p.drawImage(PlaceOf("plus"), looks_.at("plus"));
            p.drawImage(PlaceOf("moins"), looks_.at("moins"));
        }
        return client;
    }

    QString dir_;
    QImage fond_;
    QImage shape1_;
    std::map<QString, QImage> looks_;
};

} // namespace
} // namespace skingen

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == "--app-icons") {
        try {
            skingen::drawAppIcons(QDir(args[2]), args[3]);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "vibralon-skingen: %s\n", e.what());
            return 1;
        }
        return 0;
    }
    if (args.size() != 2 && !(args.size() == 4 && args[2] == "--preview")) {
        std::fprintf(stderr, "usage: vibralon-skingen OUTDIR [--preview PREFIX]\n"
                             "       vibralon-skingen --app-icons DIR NAME\n");
        return 2;
    }
    try {
        if (!QDir().mkpath(args[1]))
            throw std::runtime_error("cannot create " + args[1].toStdString());
        skingen::loadFonts();
        skingen::Generator generator(args[1]);
        generator.run();
        if (args.size() == 4)
            generator.preview(args[3]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vibralon-skingen: %s\n", e.what());
        return 1;
    }
    return 0;
}
