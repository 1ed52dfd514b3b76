#include "shell/gtk/gtk_front_end.h"

#include <cstdlib>
#include <string>

#include "assets/embedded_assets.h"
#include "game/constants.h"
#include "picture/field_painter.h"

namespace mole {

namespace {

// An image the program carries, decoded by gdk-pixbuf (its ICO loader reads cursors too and
// reports their hotspots). Null when it does not decode.
GdkPixbuf* pixbufFromAsset(const assets::Blob& blob) {
    GdkPixbufLoader* loader = gdk_pixbuf_loader_new();
    GdkPixbuf* pixbuf = nullptr;
    if (gdk_pixbuf_loader_write(loader, blob.data, blob.size, nullptr) &&
        gdk_pixbuf_loader_close(loader, nullptr)) {
        pixbuf = gdk_pixbuf_loader_get_pixbuf(loader);
        if (pixbuf != nullptr) {
            g_object_ref(pixbuf);
        }
    } else {
        gdk_pixbuf_loader_close(loader, nullptr);
    }
    g_object_unref(loader);
    return pixbuf;
}

int pixbufOption(GdkPixbuf* pixbuf, const char* key, int fallback) {
    const char* value = gdk_pixbuf_get_option(pixbuf, key);
    return value != nullptr ? std::atoi(value) : fallback;
}

// A cursor from .cur bytes with the hotspot the file gives; the hotspots passed here are the
// known ones, used only if the loader does not report any.
GdkCursor* cursorFromAsset(GdkDisplay* display, const assets::Blob& blob, int hotX, int hotY) {
    GdkPixbuf* pixbuf = pixbufFromAsset(blob);
    if (pixbuf == nullptr) {
        return gdk_cursor_new_from_name(display, "default");
    }
    GdkCursor* cursor = gdk_cursor_new_from_pixbuf(
        display, pixbuf, pixbufOption(pixbuf, "x_hot", hotX), pixbufOption(pixbuf, "y_hot", hotY));
    g_object_unref(pixbuf);
    return cursor;
}

// The window as the picture code sees it, during one paint cycle: copies land in the picture
// of the window, clipped to the area waiting to be repainted, and what changed is collected
// so that only that goes to the screen. The shell's pixel buffers are cairo's RGB24 layout,
// so they are wrapped, not converted.
class WindowTarget final : public PaintTarget {
  public:
    WindowTarget(cairo_surface_t* shown, const cairo_region_t* waiting)
        : cr_(cairo_create(shown)), waiting_(waiting), changed_(cairo_region_create()) {
        gdk_cairo_region(cr_, waiting);
        cairo_clip(cr_);
        cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
    }
    ~WindowTarget() override {
        if (image_ != nullptr) {
            cairo_surface_destroy(image_);
        }
        cairo_destroy(cr_);
        cairo_region_destroy(changed_);
    }
    WindowTarget(const WindowTarget&) = delete;
    WindowTarget& operator=(const WindowTarget&) = delete;

    void copyFromView(const Surface& source, const Rect& r) override {
        if (source.empty() || r.width <= 0 || r.height <= 0) {
            return;
        }
        cairo_save(cr_);
        cairo_rectangle(cr_, r.x, r.y, r.width, r.height);
        cairo_clip(cr_);
        cairo_set_source_surface(cr_, wrap(source), 0, 0);
        cairo_paint(cr_);
        cairo_restore(cr_);
        const cairo_rectangle_int_t box{r.x, r.y, r.width, r.height};
        cairo_region_t* copied = cairo_region_create_rectangle(&box);
        cairo_region_intersect(copied, waiting_);
        cairo_region_union(changed_, copied);
        cairo_region_destroy(copied);
    }

    const cairo_region_t* changed() const { return changed_; }

  private:
    cairo_surface_t* wrap(const Surface& source) {
        auto* data = reinterpret_cast<unsigned char*>(const_cast<Pixel*>(source.pixels.data()));
        if (image_ == nullptr || data != imageData_) {
            if (image_ != nullptr) {
                cairo_surface_destroy(image_);
            }
            image_ = cairo_image_surface_create_for_data(data, CAIRO_FORMAT_RGB24, source.width,
                                                         source.height, source.width * 4);
            imageData_ = data;
        }
        return image_;
    }

    cairo_t* cr_;
    const cairo_region_t* waiting_;
    cairo_region_t* changed_;
    cairo_surface_t* image_ = nullptr;
    const unsigned char* imageData_ = nullptr;
};

}  // namespace

GtkFrontEnd::GtkFrontEnd(ShellState& state, GdkDisplay* display)
    : state_(state), display_(display), waiting_(cairo_region_create()) {
    raisedCursor_ = cursorFromAsset(display, assets::raisedHammerCursor(), 6, 16);
    struckCursor_ = cursorFromAsset(display, assets::struckHammerCursor(), 29, 3);
}

GtkFrontEnd::~GtkFrontEnd() {
    stopTick();
    if (paintCycle_ != 0) {
        g_source_remove(paintCycle_);
    }
    cairo_region_destroy(waiting_);
    if (shown_ != nullptr) {
        cairo_surface_destroy(shown_);
    }
    if (raisedCursor_ != nullptr) {
        g_object_unref(raisedCursor_);
    }
    if (struckCursor_ != nullptr) {
        g_object_unref(struckCursor_);
    }
}

void GtkFrontEnd::createWindow() {
    window_ = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    GtkWindow* window = GTK_WINDOW(window_);
    gtk_window_set_title(window, "");
    gtk_window_set_decorated(window, FALSE);
    gtk_window_set_keep_above(window, TRUE);
    gtk_window_set_skip_taskbar_hint(window, TRUE);
    gtk_window_set_skip_pager_hint(window, TRUE);
    gtk_window_set_resizable(window, FALSE);
    gtk_widget_set_size_request(window_, state_.screenWidth, state_.screenHeight);
    gtk_window_move(window, 0, 0);
    // Window managers cover panels only for a fullscreen window; without one this is a no-op
    // and the size and position above do the covering.
    gtk_window_fullscreen(window);
    if (GdkPixbuf* icon = pixbufFromAsset(assets::iconGroup())) {
        gtk_window_set_icon(window, icon);
        g_object_unref(icon);
    }

    // The draw handler paints every pixel it is asked for, from the picture of the window.
    gtk_widget_set_app_paintable(window_, TRUE);
    gtk_widget_add_events(
        window_, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK);
    g_signal_connect(window_, "draw", G_CALLBACK(onDrawSignal), this);
    g_signal_connect(window_, "button-press-event", G_CALLBACK(onButtonPressSignal), this);
    g_signal_connect(window_, "button-release-event", G_CALLBACK(onCursorResetSignal), this);
    g_signal_connect(window_, "motion-notify-event", G_CALLBACK(onCursorResetSignal), this);
    g_signal_connect(window_, "delete-event", G_CALLBACK(onDeleteSignal), this);

    gtk_widget_realize(window_);
    GdkWindow* gdkWindow = gtk_widget_get_window(window_);
    gdk_window_set_cursor(gdkWindow, raisedCursor_);
    // A fresh window shows black; on X11 its picture lives in the server, not in this process.
    shown_ = gdk_window_create_similar_surface(gdkWindow, CAIRO_CONTENT_COLOR, state_.screenWidth,
                                               state_.screenHeight);
    cairo_t* cr = cairo_create(shown_);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
}

void GtkFrontEnd::showWindow() {
    gtk_widget_show(window_);
}

void GtkFrontEnd::requestClose() {
    if (closing_) {
        return;
    }
    closing_ = true;
    onDestroy(state_, *this);
    // The shell ends the loop from its destroy path; should it not (it had ended already),
    // the program still has to go.
    endEventLoop();
}

DialogAnswer GtkFrontEnd::ask(std::string_view text, std::string_view caption,
                              DialogButtons buttons, bool topmost) {
    const DialogAnswer closedAnswer =
        buttons == DialogButtons::YesNo ? DialogAnswer::No : DialogAnswer::Ok;
    if (loopEnded_ || window_ == nullptr) {
        return closedAnswer;
    }
    const std::string message(text);
    GtkWidget* dialog =
        gtk_message_dialog_new(GTK_WINDOW(window_), static_cast<GtkDialogFlags>(GTK_DIALOG_MODAL),
                               GTK_MESSAGE_OTHER, GTK_BUTTONS_NONE, "%s", message.c_str());
    const std::string title(caption);
    gtk_window_set_title(GTK_WINDOW(dialog), title.c_str());
    // The texts speak of 「はい」 and 「いいえ」, so the buttons must carry exactly those words.
    if (buttons == DialogButtons::YesNo) {
        gtk_dialog_add_button(GTK_DIALOG(dialog), "はい", GTK_RESPONSE_YES);
        gtk_dialog_add_button(GTK_DIALOG(dialog), "いいえ", GTK_RESPONSE_NO);
        gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_YES);
    } else {
        gtk_dialog_add_button(GTK_DIALOG(dialog), "OK", GTK_RESPONSE_OK);
        gtk_dialog_set_default_response(GTK_DIALOG(dialog), GTK_RESPONSE_OK);
    }
    gtk_window_set_position(GTK_WINDOW(dialog), GTK_WIN_POS_CENTER_ON_PARENT);
    if (topmost) {
        gtk_window_set_keep_above(GTK_WINDOW(dialog), TRUE);
    }

    openDialog_ = dialog;
    const int response = gtk_dialog_run(GTK_DIALOG(dialog));
    openDialog_ = nullptr;
    noteUncovered(dialog);
    gtk_widget_destroy(dialog);

    switch (response) {
        case GTK_RESPONSE_YES:
            return buttons == DialogButtons::YesNo ? DialogAnswer::Yes : DialogAnswer::Ok;
        case GTK_RESPONSE_OK:
            return DialogAnswer::Ok;
        default:
            return closedAnswer;
    }
}

void GtkFrontEnd::noteUncovered(GtkWidget* dialog) {
    GdkWindow* dialogWindow = gtk_widget_get_window(dialog);
    GdkWindow* gameWindow = gtk_widget_get_window(window_);
    if (dialogWindow == nullptr || gameWindow == nullptr || !gdk_window_is_visible(dialogWindow)) {
        return;
    }
    GdkRectangle frame{};
    gdk_window_get_frame_extents(dialogWindow, &frame);
    int originX = 0;
    int originY = 0;
    gdk_window_get_origin(gameWindow, &originX, &originY);
    const cairo_rectangle_int_t area{frame.x - originX, frame.y - originY, frame.width,
                                     frame.height};
    markWaiting(area);
}

void GtkFrontEnd::markWaiting(const cairo_rectangle_int_t& r) {
    const cairo_rectangle_int_t window{0, 0, state_.screenWidth, state_.screenHeight};
    cairo_region_t* area = cairo_region_create_rectangle(&r);
    cairo_region_intersect_rectangle(area, &window);
    cairo_region_union(waiting_, area);
    cairo_region_destroy(area);
    // Like a window system's paint message: it comes once nothing more urgent is queued, and
    // one paint serves everything that waits by then.
    if (paintCycle_ == 0 && !cairo_region_is_empty(waiting_)) {
        paintCycle_ = g_idle_add_full(G_PRIORITY_HIGH_IDLE, onPaintCycle, this, nullptr);
    }
}

gboolean GtkFrontEnd::onPaintCycle(gpointer self) {
    auto* frontEnd = static_cast<GtkFrontEnd*>(self);
    frontEnd->paintCycle_ = 0;
    if (frontEnd->state_.ended || !frontEnd->state_.surfaces.created ||
        frontEnd->shown_ == nullptr) {
        return G_SOURCE_REMOVE;
    }
    WindowTarget target(frontEnd->shown_, frontEnd->waiting_);
    onPaint(frontEnd->state_, target);
    frontEnd->finishPaint(target.changed());
    return G_SOURCE_REMOVE;
}

void GtkFrontEnd::finishPaint(const cairo_region_t* changed) {
    cairo_region_subtract(waiting_, waiting_);
    // During play the paint copies only the twenty cells; only they go to the screen.
    gtk_widget_queue_draw_region(window_, changed);
}

void GtkFrontEnd::playSound(int soundId) {
    if (soundId == kSwingSoundId) {
        const assets::Blob wav = assets::swingSound();
        sound_.play(wav.data, wav.size);
    } else if (soundId == kHitSoundId) {
        const assets::Blob wav = assets::hitSound();
        sound_.play(wav.data, wav.size);
    }
}

void GtkFrontEnd::startTick() {
    stopTick();
    if (loopEnded_) {
        return;
    }
    tickSource_ = g_timeout_add(kTickMs, onTickSource, this);
}

void GtkFrontEnd::stopTick() {
    if (tickSource_ != 0) {
        g_source_remove(tickSource_);
        tickSource_ = 0;
    }
}

void GtkFrontEnd::invalidateAll() {
    if (window_ != nullptr) {
        markWaiting(cairo_rectangle_int_t{0, 0, state_.screenWidth, state_.screenHeight});
    }
}

// A paint cycle of its own, now: the area a closed message box left waiting gets the field,
// and then counts as repainted.
void GtkFrontEnd::presentField(const Surface& field) {
    if (shown_ == nullptr || cairo_region_is_empty(waiting_)) {
        return;
    }
    WindowTarget target(shown_, waiting_);
    target.copyFromView(field, Rect{0, 0, field.width, field.height});
    finishPaint(target.changed());
}

void GtkFrontEnd::endEventLoop() {
    if (loopEnded_) {
        return;
    }
    loopEnded_ = true;
    stopTick();
    if (openDialog_ != nullptr) {
        gtk_dialog_response(GTK_DIALOG(openDialog_), GTK_RESPONSE_DELETE_EVENT);
    }
    gtk_main_quit();
}

void GtkFrontEnd::showStruckCursor() {
    if (window_ != nullptr && struckCursor_ != nullptr) {
        gdk_window_set_cursor(gtk_widget_get_window(window_), struckCursor_);
        struckShown_ = true;
    }
}

void GtkFrontEnd::restoreRaisedCursor() {
    if (struckShown_) {
        gdk_window_set_cursor(gtk_widget_get_window(window_), raisedCursor_);
        struckShown_ = false;
    }
}

ScreenPoint GtkFrontEnd::cursorPosition() {
    GdkDevice* pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(display_));
    int x = 0;
    int y = 0;
    if (pointer != nullptr) {
        gdk_device_get_position(pointer, nullptr, &x, &y);
    }
    return ScreenPoint{x, y};
}

void GtkFrontEnd::draw(cairo_t* cr) {
    // Whatever the window system asks for comes from the picture of the window, so exposures
    // (a box closing, another window passing) never show anything the game did not paint.
    if (shown_ != nullptr) {
        cairo_set_source_surface(cr, shown_, 0, 0);
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr);
    }
}

gboolean GtkFrontEnd::onDrawSignal(GtkWidget*, cairo_t* cr, gpointer self) {
    static_cast<GtkFrontEnd*>(self)->draw(cr);
    return TRUE;
}

gboolean GtkFrontEnd::onButtonPressSignal(GtkWidget*, GdkEventButton* event, gpointer self) {
    auto* frontEnd = static_cast<GtkFrontEnd*>(self);
    // A double click arrives as two presses plus a GDK_2BUTTON_PRESS; count the presses only.
    if (event->type != GDK_BUTTON_PRESS || frontEnd->loopEnded_) {
        return TRUE;
    }
    if (event->button == GDK_BUTTON_PRIMARY) {
        onLeftButtonDown(frontEnd->state_, *frontEnd);
    } else if (event->button == GDK_BUTTON_SECONDARY) {
        onRightButtonDown(frontEnd->state_, *frontEnd);
    }
    return TRUE;
}

gboolean GtkFrontEnd::onCursorResetSignal(GtkWidget*, GdkEvent*, gpointer self) {
    static_cast<GtkFrontEnd*>(self)->restoreRaisedCursor();
    return FALSE;
}

gboolean GtkFrontEnd::onDeleteSignal(GtkWidget*, GdkEvent*, gpointer self) {
    static_cast<GtkFrontEnd*>(self)->requestClose();
    return TRUE;  // the window goes with the process
}

gboolean GtkFrontEnd::onTickSource(gpointer self) {
    auto* frontEnd = static_cast<GtkFrontEnd*>(self);
    if (frontEnd->loopEnded_) {
        frontEnd->tickSource_ = 0;
        return G_SOURCE_REMOVE;
    }
    // The intro stops the timer and play starts a new one; this source then has to go.
    const guint running = frontEnd->tickSource_;
    onTimer(frontEnd->state_, *frontEnd);
    return frontEnd->tickSource_ == running ? G_SOURCE_CONTINUE : G_SOURCE_REMOVE;
}

}  // namespace mole
