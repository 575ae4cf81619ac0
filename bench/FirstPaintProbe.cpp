// Preloaded into the viewer by the start-up benchmark, never linked into it: reports the end
// of the first paint of a window into its backing store by writing one byte to the file
// descriptor named in NUVISCA_FIRST_PAINT_FD. The widgets call QBackingStore::endPaint
// through the dynamic linker, so this definition takes its place and forwards to Qt's.
#include <dlfcn.h>
#include <unistd.h>

#include <QBackingStore>
#include <cstdlib>

void QBackingStore::endPaint() {
    using EndPaint = void (*)(QBackingStore*);
    static const auto qtEndPaint =
        reinterpret_cast<EndPaint>(::dlsym(RTLD_NEXT, "_ZN13QBackingStore8endPaintEv"));
    if (qtEndPaint != nullptr) {
        qtEndPaint(this);
    }
    static bool reported = false;
    const char* fd = std::getenv("NUVISCA_FIRST_PAINT_FD");
    if (!reported && fd != nullptr) {
        reported = true;
        const char painted = 'p';
        static_cast<void>(::write(std::atoi(fd), &painted, 1));
    }
}
