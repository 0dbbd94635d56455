#include "utility/quicktime/qt_routines.h"

#include "utility/quicktime/qt_binding.h"

namespace quicktime {

OSErr InitializeQTML(std::int32_t flags) { return OSErr(QtCurrentDispatcher()(kSelectorInitializeQTML, flags)); }

OSErr TerminateQTML() { return OSErr(QtCurrentDispatcher()(kSelectorTerminateQTML)); }

OSErr EnterMovies() { return OSErr(QtCurrentDispatcher()(kSelectorEnterMovies)); }

OSErr ExitMovies() { return OSErr(QtCurrentDispatcher()(kSelectorExitMovies)); }

ComponentInstance OpenDefaultComponent(OSType componentType, OSType componentSubType) {
    // The unbound routine's error code is no instance.
    if (!QtIsBound()) return nullptr;
    return reinterpret_cast<ComponentInstance>(
        QtCurrentDispatcher()(kSelectorOpenDefaultComponent, componentType, componentSubType));
}

ComponentResult CallComponent(ComponentInstance instance, ComponentParameters* params) {
    return ComponentResult(QtCurrentDispatcher()(kSelectorCallComponent, instance, params));
}

}  // namespace quicktime
