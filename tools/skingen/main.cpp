// vibralon-skingen OUTDIR [--preview PREFIX]
// vibralon-skingen --app-icons DIR NAME
// Draws every skin picture into OUTDIR under its component's name. With --preview it also
// writes PREFIX-rest.png and PREFIX-active.png: the whole client area as the window composes it,
// at rest and with a note, a lit bar, an arrow, a lit string and the lamp on.
// --app-icons draws the window icon for the desktop's icon theme as DIR/SIZExSIZE/apps/NAME.png:
// at 32 exactly the sixteen colours of MAINICON, larger sizes smooth.
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

class Generator {
public:
    explicit Generator(QString dir) : dir_(std::move(dir)) {}

    void Run() {
        fond_ = Bmp8("Fond", DrawFond(), {qRgb(52, 49, 62), qRgb(255, 255, 255)});
        shape1_ = Store("Shape1", WriteBmp24(DrawShape1(), Path("Shape1.bmp")));
        Store("Off", WriteBmp24(DrawLamp(UnderFond("Off"), false), Path("Off.bmp")));
        Store("On", WriteBmp24(DrawLamp(UnderFond("On"), true), Path("On.bmp")));
        Store("Image2", WriteBmp24(DrawHelpMark(UnderFond("Image2")), Path("Image2.bmp")));
        const QImage logo = DrawLogo(UnderFond("Image3"));
        Bmp8("Image3", logo, BorderColours(logo));
        for (const StringButton& b : kStringButtons) {
            const QString name = QString::fromLatin1(b.name);
            const QImage unlit = DrawStringButton(UnderFond(name.toStdString()), name, false);
            Bmp8(name, unlit, BorderColours(unlit));
            const QImage lit = DrawStringButton(UnderFond("L" + name.toStdString()), name, true);
            if (b.litAsJpeg) {
                Store("L" + name, WriteJpeg(lit, Path("L" + name + ".jpg")));
            } else {
                Bmp8("L" + name, lit, BorderColours(lit));
            }
        }
        Store("moins", WriteJpeg(DrawMoins(UnderShape1("moins")), Path("moins.jpg")));
        Store("plus", WriteJpeg(DrawPlus(UnderShape1("plus")), Path("plus.jpg")));
        Store("Liste", WriteBmp555(DrawNoteStrip(), Path("Liste.bmp")));
        Store("MAINICON", WriteIcon16(DrawIcon(), kVga, Path("MAINICON.ico")));
    }

    void Preview(const QString& prefix) const {
        Compose(false).save(prefix + "-rest.png");
        Compose(true).save(prefix + "-active.png");
    }

private:
    QString Path(const QString& file) const { return QDir(dir_).filePath(file); }

    QImage Store(const QString& name, const QImage& look) {
        looks_[name] = look;
        return look;
    }
    QImage Bmp8(const QString& name, const QImage& drawing, const std::vector<QRgb>& keep) {
        return Store(name, WriteBmp8(Quantise(drawing, keep), Path(name + ".bmp")));
    }
    // What lies beneath the component on the body or the panel.
    QImage UnderFond(const std::string& component) const {
        return fond_.copy(QRect(FondPoint(PlaceOf(component)), SizeOf(component)));
    }
    QImage UnderShape1(const std::string& component) const {
        return shape1_.copy(QRect(Shape1Point(PlaceOf(component)), SizeOf(component)));
    }

    QImage Compose(bool active) const {
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
            skingen::DrawAppIcons(QDir(args[2]), args[3]);
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
        if (!QDir().mkpath(args[1])) {
            throw std::runtime_error("cannot create " + args[1].toStdString());
        }
        skingen::LoadFonts();
        skingen::Generator generator(args[1]);
        generator.Run();
        if (args.size() == 4) {
            generator.Preview(args[3]);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vibralon-skingen: %s\n", e.what());
        return 1;
    }
    return 0;
}
