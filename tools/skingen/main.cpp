// vibralon-skingen OUTDIR [--preview PREFIX]
// vibralon-skingen --app-icons DIR NAME
// Draws every skin picture into OUTDIR under its component's name, and again at each larger art
// scale (ui/skin/art_scales.h) into its folder, OUTDIR/2x/ say, as PNG. With --preview it also
// writes PREFIX-rest.png and PREFIX-active.png (and their @2x twins): the whole client area as the
// window composes it, at rest and with a note, a lit bar, an arrow, a lit string and the lamp on.
// vibralon-skingen --windows-icon FILE
// --app-icons draws the window icon for the desktop's icon theme as DIR/SIZExSIZE/apps/NAME.png:
// at 32 exactly the sixteen colours of MAINICON, larger sizes smooth. --windows-icon writes the
// Windows program's icon: MAINICON's image at 32, and the same drawing at 16, 24, 48 and 256.
#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>
#include <exception>
#include <map>
#include <stdexcept>
#include <string>

#include "tools/skingen/drawing.h"
#include "tools/skingen/layout.h"
#include "tools/skingen/picture_files.h"
#include "ui/skin/art_scales.h"

namespace skingen {
namespace {

const IconPalette kVga{
    qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
    qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
    qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
    qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};

void DrawAppIcons(const QDir& dir, const QString& name) {
    for (int size : {32, 48, 64, 128, 256}) {
        const QString sub = QString("%1x%1/apps").arg(size);
        if (!dir.mkpath(sub)) {
            throw std::runtime_error("cannot create " + dir.filePath(sub).toStdString());
        }
        const QImage icon = size == kIconGrid ? Icon16Look(DrawIcon(), kVga) : DrawIcon(size);
        WritePng(icon, dir.filePath(sub + "/" + name + ".png"));
    }
}

// Draws the skin at one scale: at 1x in the stored kinds the program has always read, larger
// every picture as PNG in the scale's folder, losslessly, so that backgrounds still match
// beneath.
class Generator {
public:
    Generator(QString dir, const skin::ArtScale& art)
        : dir_(std::move(dir)), scale_(art.scale),
          folder_(QString::fromUtf8(art.folder.data(), static_cast<qsizetype>(art.folder.size()))) {
    }

    void Run() {
        if (scale_ != 1 && !QDir(dir_).mkpath(folder_)) {
            throw std::runtime_error("cannot create " + Path(folder_).toStdString());
        }
        fond_ = Bmp8("Fond", DrawFond(scale_), {qRgb(52, 49, 62), qRgb(255, 255, 255)});
        shape1_ = Bmp24("Shape1", DrawShape1(scale_));
        Bmp24("Off", DrawLamp(UnderFond("Off"), false, scale_));
        Bmp24("On", DrawLamp(UnderFond("On"), true, scale_));
        Bmp24("Image2", DrawHelpMark(UnderFond("Image2"), scale_));
        const QImage logo = DrawLogo(UnderFond("Image3"), scale_);
        Bmp8("Image3", logo, BorderColours(logo));
        for (const StringButton& b : StringButtons()) {
            const QString name =
                QString::fromLatin1(b.name.data(), static_cast<int>(b.name.size()));
            const QImage unlit =
                DrawStringButton(UnderFond(name.toStdString()), name, false, scale_);
            Bmp8(name, unlit, BorderColours(unlit));
            const QImage lit =
                DrawStringButton(UnderFond("L" + name.toStdString()), name, true, scale_);
            if (b.litAsJpeg) {
                Jpeg("L" + name, lit);
            } else {
                Bmp8("L" + name, lit, BorderColours(lit));
            }
        }
        Jpeg("moins", DrawMoins(UnderShape1("moins"), scale_));
        Jpeg("plus", DrawPlus(UnderShape1("plus"), scale_));
        if (scale_ == 1) {
            Store("Liste", WriteBmp555(DrawNoteStrip(1), Path("Liste.bmp")));
            Store("MAINICON", WriteIcon16(DrawIcon(), kVga, Path("MAINICON.ico")));
        } else {
            Png("Liste", DrawNoteStrip(scale_));
        }
    }

    void Preview(const QString& prefix) const {
        const QString suffix = scale_ == 1 ? QString() : QString("@%1x").arg(scale_);
        Compose(false).save(prefix + "-rest" + suffix + ".png");
        Compose(true).save(prefix + "-active" + suffix + ".png");
    }

private:
    QString Path(const QString& file) const { return QDir(dir_).filePath(file); }

    QImage Store(const QString& name, const QImage& look) {
        looks_[name] = look;
        return look;
    }
    QImage Png(const QString& name, const QImage& drawing) {
        return Store(name, WriteSkinPng(drawing, Path(folder_ + name + ".png")));
    }
    QImage Bmp8(const QString& name, const QImage& drawing, const std::vector<QRgb>& keep) {
        if (scale_ != 1) {
            return Png(name, drawing);
        }
        return Store(name, WriteBmp8(Quantise(drawing, keep), Path(name + ".bmp")));
    }
    QImage Bmp24(const QString& name, const QImage& drawing) {
        return scale_ != 1 ? Png(name, drawing)
                           : Store(name, WriteBmp24(drawing, Path(name + ".bmp")));
    }
    QImage Jpeg(const QString& name, const QImage& drawing) {
        return scale_ != 1 ? Png(name, drawing)
                           : Store(name, WriteJpeg(drawing, Path(name + ".jpg")));
    }
    QRect Scaled(const QRect& r) const { return {r.topLeft() * scale_, r.size() * scale_}; }
    QPoint Scaled(QPoint p) const { return p * scale_; }
    // What lies beneath the component on the body or the panel.
    QImage UnderFond(const std::string& component) const {
        return fond_.copy(Scaled(QRect(FondPoint(PlaceOf(component)), SizeOf(component))));
    }
    QImage UnderShape1(const std::string& component) const {
        return shape1_.copy(Scaled(QRect(Shape1Point(PlaceOf(component)), SizeOf(component))));
    }

    QImage Compose(bool active) const {
        QImage client(QSize(form1::kForm.clientWidth, form1::kForm.clientHeight) * scale_,
                      QImage::Format_RGB32);
        client.fill(QColor(239, 239, 239));
        QPainter p(&client);
        QImage panel = shape1_;
        if (active) {
            const QImage& strip = looks_.at("Liste");
            QPainter s(&panel);
            s.drawImage(Scaled(ToQt(form1::kNoteAt)), strip, Scaled(StripCell(9))); // A
            s.fillRect(Scaled(ToQt(form1::MeterBar(5))), QColor(64, 255, 64));
        }
        p.drawImage(Scaled(PlaceOf("Fond")), fond_);
        p.drawImage(Scaled(PlaceOf("Shape1")), panel);
        p.drawImage(Scaled(PlaceOf(active ? "On" : "Off")), looks_.at(active ? "On" : "Off"));
        p.drawImage(Scaled(PlaceOf("Image2")), looks_.at("Image2"));
        p.drawImage(Scaled(PlaceOf("Image3")), looks_.at("Image3"));
        for (const StringButton& b : StringButtons()) {
            const bool lit = active && b.name == "A5";
            const std::string name = (lit ? "L" : "") + std::string(b.name);
            p.drawImage(Scaled(PlaceOf(name)), looks_.at(QString::fromStdString(name)));
        }
        if (active) {
            p.drawImage(Scaled(PlaceOf("plus")), looks_.at("plus"));
            p.drawImage(Scaled(PlaceOf("moins")), looks_.at("moins"));
        }
        return client;
    }

    QString dir_;
    int scale_;
    QString folder_;
    QImage fond_;
    QImage shape1_;
    std::map<QString, QImage> looks_;
};

} // namespace
} // namespace skingen

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const bool windowsIcon = args.size() == 3 && args[1] == "--windows-icon";
    if (windowsIcon || (args.size() == 4 && args[1] == "--app-icons")) {
        try {
            if (windowsIcon) {
                skingen::WriteWindowsIcon([](int size) { return skingen::DrawIcon(size); },
                                          skingen::DrawIcon(), skingen::kVga, args[2]);
            } else {
                skingen::DrawAppIcons(QDir(args[2]), args[3]);
            }
        } catch (const std::exception& e) {
            std::fprintf(stderr, "vibralon-skingen: %s\n", e.what());
            return 1;
        }
        return 0;
    }
    if (args.size() != 2 && !(args.size() == 4 && args[2] == "--preview")) {
        std::fprintf(stderr, "usage: vibralon-skingen OUTDIR [--preview PREFIX]\n"
                             "       vibralon-skingen --app-icons DIR NAME\n"
                             "       vibralon-skingen --windows-icon FILE\n");
        return 2;
    }
    try {
        if (!QDir().mkpath(args[1])) {
            throw std::runtime_error("cannot create " + args[1].toStdString());
        }
        skingen::LoadFonts();
        // The same pictures for ordinary screens and, drawn larger, for dense ones.
        for (const skin::ArtScale& art : skin::kArtScales) {
            skingen::Generator generator(args[1], art);
            generator.Run();
            if (args.size() == 4) {
                generator.Preview(args[3]);
            }
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vibralon-skingen: %s\n", e.what());
        return 1;
    }
    return 0;
}
