#include "platform/posix/wavein/pulse/pulse_identity.h"

pa_proplist* NewApplicationProperties() {
    pa_proplist* properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, ApplicationName);
    pa_proplist_sets(properties, PA_PROP_APPLICATION_ID, "vibralon");
    pa_proplist_sets(properties, PA_PROP_APPLICATION_ICON_NAME, "vibralon");
    // A tuner listens to an instrument: the closest of the standard roles.
    pa_proplist_sets(properties, PA_PROP_MEDIA_ROLE, "production");
    return properties;
}
