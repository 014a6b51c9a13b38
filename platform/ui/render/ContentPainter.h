#pragma once

typedef struct _cairo cairo_t;

namespace platform {

class UIActivityIndicatorView;
class UIImageView;

// Paints the content of the views that have their own (text is LabelPainter's):
// an image view's image placed by its content mode (template images filled with the tint in
// force, dimmed while its button is pressed), a spinner's spokes. Works in
// the view's bounds coordinates. Stateless.
class ContentPainter {
 public:
  static void paintImageView(cairo_t* cr, const UIImageView& imageView);
  static void paintActivityIndicator(cairo_t* cr, const UIActivityIndicatorView& spinner);
};

}  // namespace platform
