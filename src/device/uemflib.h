// libUEMF, opened when the first metafile is drawn: a process that writes only
// EPS never loads it.
#pragma once

extern "C" {
#include <uemf.h>
#include <uwmf.h>
}

namespace vg {

#define VGL_UEMF_FUNCTIONS(X)                                                                                          \
    X(U_EMREOF_set)                                                                                                    \
    X(U_EMREXTTEXTOUTW_set) X(U_EMRHEADER_set) X(U_EMRLINETO_set) X(U_EMRMOVETOEX_set) X(U_EMRPOLYGON_set)             \
        X(U_EMRPOLYLINE_set) X(U_EMRSETBKCOLOR_set) X(U_EMRSETBKMODE_set) X(U_EMRSETMAPMODE_set)                       \
            X(U_EMRSETPOLYFILLMODE_set) X(U_EMRSETTEXTALIGN_set) X(U_EMRSETTEXTCOLOR_set) X(U_EMRSETVIEWPORTEXTEX_set) \
                X(U_EMRSETWINDOWEXTEX_set) X(U_FONT_set) X(U_PEN_set) X(U_WLOGBRUSH_set) X(U_WMREOF_set)               \
                    X(U_WMREXTTEXTOUT_set) X(U_WMRLINETO_set) X(U_WMRMOVETO_set) X(U_WMRPOLYGON_set)                   \
                        X(U_WMRPOLYLINE_set) X(U_WMRSETBKCOLOR_set) X(U_WMRSETBKMODE_set) X(U_WMRSETMAPMODE_set)       \
                            X(U_WMRSETPOLYFILLMODE_set) X(U_WMRSETTEXTALIGN_set) X(U_WMRSETTEXTCOLOR_set)              \
                                X(U_WMRSETWINDOWEXT_set) X(U_WMRSETWINDOWORG_set) X(U_wmr_size) X(colorref3_set)       \
                                    X(createbrushindirect_set) X(createpen_set) X(deleteobject_set)                    \
                                        X(emf_htable_create) X(emf_htable_free) X(emrtext_set)                         \
                                            X(extcreatefontindirectw_set) X(logbrush_set) X(logfont_set) X(logpen_set) \
                                                X(point16_set) X(point32_set) X(selectobject_set) X(sizel_set)         \
                                                    X(wcreatebrushindirect_set) X(wcreatefontindirect_set)             \
                                                        X(wcreatepenindirect_set) X(wdeleteobject_set)                 \
                                                            X(wmf_htable_create) X(wmf_htable_free)                    \
                                                                X(wselectobject_set)

struct UemfLibrary {
#define VGL_UEMF_POINTER(name) decltype(&::name) name = nullptr;
    VGL_UEMF_FUNCTIONS(VGL_UEMF_POINTER)
#undef VGL_UEMF_POINTER
};

// The library, opened on the first call; nullptr when it could not be loaded.
const UemfLibrary* Uemf();

}  // namespace vg
