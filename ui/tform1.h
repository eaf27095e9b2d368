// The main window: the tuner's skin, one member per component of its form description, and the
// handlers its components are bound to.
#pragma once

#include "ui/model/form.h"
#include "ui/model/image.h"
#include "ui/model/image_list.h"

class TForm1 : public skin::Form {
public:
    // Builds every component from the description with its picture from the program's data.
    // Throws skin::PictureError when a picture is missing or unreadable.
    TForm1();

    // Components, in creation order (later ones lie above earlier ones).
    skin::Image Fond;
    skin::Image Shape1;
    skin::Image Off;
    skin::Image On;
    skin::Image Image2;
    skin::Image Image3;
    skin::Image E6;
    skin::Image LE6;
    skin::Image A5;
    skin::Image LA5;
    skin::Image D4;
    skin::Image LD4;
    skin::Image G3;
    skin::Image LG3;
    skin::Image B2;
    skin::Image LB2;
    skin::Image E1;
    skin::Image LE1;
    skin::Image moins;
    skin::Image plus;
    skin::ImageList Liste;

    // Handlers named in the form description.
    void FondMouseDown(skin::Image& sender, skin::MouseButton button, int x, int y);
    void FondMouseUp(skin::Image& sender, skin::MouseButton button, int x, int y);
    void IE6NClick(skin::Image& sender);
    void IE1OClick(skin::Image& sender);
    void Image2Click(skin::Image& sender);

private:
    void BindHandlers();
};
