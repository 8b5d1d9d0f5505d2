// cairo, opened when first drawn with: a process that writes only EPS or
// metafiles never loads it and the libraries it brings along.
#pragma once

#include <cairo-ft.h>
#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

namespace vg {

#define VGL_CAIRO_FUNCTIONS(X)                                                                                        \
    X(cairo_create)                                                                                                   \
    X(cairo_destroy) X(cairo_save) X(cairo_restore) X(cairo_scale) X(cairo_translate) X(cairo_rotate)                 \
        X(cairo_set_fill_rule) X(cairo_set_antialias) X(cairo_set_source_rgb) X(cairo_set_source_surface)             \
            X(cairo_set_line_width) X(cairo_set_dash) X(cairo_new_path) X(cairo_move_to) X(cairo_line_to)             \
                X(cairo_close_path) X(cairo_rectangle) X(cairo_fill) X(cairo_stroke) X(cairo_paint)                   \
                    X(cairo_set_font_face) X(cairo_set_font_matrix) X(cairo_matrix_init_scale) X(cairo_show_glyphs)   \
                        X(cairo_ft_font_face_create_for_ft_face) X(cairo_image_surface_create)                        \
                            X(cairo_image_surface_create_from_png) X(cairo_image_surface_get_width)                   \
                                X(cairo_image_surface_get_height) X(cairo_image_surface_get_data)                     \
                                    X(cairo_image_surface_get_stride) X(cairo_surface_mark_dirty)                     \
                                        X(cairo_svg_surface_create_for_stream) X(cairo_pdf_surface_create_for_stream) \
                                            X(cairo_surface_flush) X(cairo_surface_finish) X(cairo_surface_status)    \
                                                X(cairo_surface_destroy) X(cairo_surface_write_to_png)                \
                                                    X(cairo_surface_write_to_png_stream)

// The functions we call, by their own names: Cairo()->cairo_create(...).
struct CairoLibrary {
#define VGL_CAIRO_POINTER(name) decltype(&::name) name = nullptr;
    VGL_CAIRO_FUNCTIONS(VGL_CAIRO_POINTER)
#undef VGL_CAIRO_POINTER
};

// The library, opened on the first call; nullptr when it is not installed.
const CairoLibrary* Cairo();

}  // namespace vg
