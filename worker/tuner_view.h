// What the analysis worker needs of the tuner window, and nothing more.
#pragma once

#include "analysis/tuner_reading.h"

class TunerView {
public:
    virtual ~TunerView() = default;

    // Called on the worker thread, once per block: the selected string, -1 for none or 0 to 5.
    // It must be a plain read of one value (an atomic load), never a wait on the UI thread.
    virtual int SelectedString() const = 0;
    // Called on the UI thread only, through ViewUpdates::Drain, in the order the worker made them.
    virtual void ShowLamp(bool lit) = 0;
    virtual void ShowReading(const TunerReading& reading) = 0;
    // How the worker's readings arrive: with the strongest frequency the reading was made from
    // (0 when unknown), for a view that says more than the window draws. By default the reading
    // alone is shown.
    virtual void ShowHeard(const TunerReading& reading, int frequency) {
        static_cast<void>(frequency);
        ShowReading(reading);
    }
};
