#include "platform/setupwindow.h"

#include <SDL.h>
#include <gtk/gtk.h>

#include <clocale>

namespace {

// The dialog's layout in pixels: 266 x 117 dialog units of an 8-point dialog font.
constexpr int kWidth = 400;
constexpr int kHeight = 190;
constexpr int kPictureWidth = 400;
constexpr int kPictureHeight = 155;
constexpr int kBandTop = 150;
constexpr int kControlsY = 161;

struct DialogState {
    GtkWidget* window = nullptr;
    GtkWidget* combo = nullptr;
    GtkWidget* start = nullptr;
    GtkWidget* quit = nullptr;
    GdkPixbuf* picture = nullptr;
    GMainLoop* loop = nullptr;
    int result = -1;
};

gboolean DrawBackground(GtkWidget*, cairo_t* cr, gpointer user) {
    auto* state = static_cast<DialogState*>(user);
    if (state->picture) {
        cairo_save(cr);
        cairo_rectangle(cr, 0, 0, kPictureWidth, kPictureHeight);
        cairo_clip(cr);
        gdk_cairo_set_source_pixbuf(cr, state->picture, 0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
    }
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_rectangle(cr, 0, kBandTop, kWidth, 250 - kBandTop);
    cairo_fill(cr);
    // Below the band, should the controls make the window taller than the picture area.
    cairo_rectangle(cr, 0, 250, kWidth, 1000);
    cairo_fill(cr);
    return FALSE;
}

void Finish(DialogState* state, int result) {
    state->result = result;
    if (g_main_loop_is_running(state->loop)) g_main_loop_quit(state->loop);
}

void OnStart(GtkButton*, gpointer user) {
    auto* state = static_cast<DialogState*>(user);
    int index = gtk_combo_box_get_active(GTK_COMBO_BOX(state->combo));
    if (index >= 0) Finish(state, index);
}

void OnQuit(GtkButton*, gpointer user) { Finish(static_cast<DialogState*>(user), -1); }

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer user) {
    Finish(static_cast<DialogState*>(user), -1);
    return TRUE;
}

void OnChanged(GtkComboBox* combo, gpointer user) {
    auto* state = static_cast<DialogState*>(user);
    gtk_widget_set_sensitive(state->start, gtk_combo_box_get_active(combo) >= 0);
}

// Tab and Shift+Tab go round "Start", "Quit", the mode list, in the order the controls are
// declared, not by where they sit. Returning false at either end lets the window wrap around.
// The arrow keys keep the toolkit's order by position.
gboolean OnFocus(GtkWidget* container, GtkDirectionType direction, gpointer user) {
    if (direction != GTK_DIR_TAB_FORWARD && direction != GTK_DIR_TAB_BACKWARD) return FALSE;
    auto* state = static_cast<DialogState*>(user);
    GtkWidget* const chain[] = {state->start, state->quit, state->combo};
    constexpr int kCount = 3;
    const int step = direction == GTK_DIR_TAB_FORWARD ? 1 : -1;
    int i = step > 0 ? 0 : kCount - 1;
    if (GtkWidget* current = gtk_container_get_focus_child(GTK_CONTAINER(container))) {
        // A control may first move the focus within itself.
        if (gtk_widget_child_focus(current, direction)) return TRUE;
        for (int k = 0; k < kCount; ++k)
            if (chain[k] == current) i = k + step;
    }
    for (; i >= 0 && i < kCount; i += step)
        if (gtk_widget_child_focus(chain[i], direction)) return TRUE;
    return FALSE;
}

// The dialog has neither a default nor a cancel button, so Return and Escape do nothing, even
// on a focused button. An open list has the keyboard to itself and still takes Return.
gboolean OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer) {
    switch (event->keyval) {
        case GDK_KEY_Return:
        case GDK_KEY_KP_Enter:
        case GDK_KEY_ISO_Enter:
        case GDK_KEY_Escape:
            return TRUE;
        default:
            return FALSE;
    }
}

// SIGINT and SIGTERM arrive as SDL's quit event; the dialog treats them as "Quit".
gboolean CheckQuitSignal(gpointer user) {
    SDL_PumpEvents();
    if (SDL_HasEvent(SDL_QUIT)) {
        SDL_FlushEvent(SDL_QUIT);
        Finish(static_cast<DialogState*>(user), -1);
    }
    return G_SOURCE_CONTINUE;
}

}  // namespace

bool PlatformInitDialogs() {
    static const bool ok = [] {
        gtk_disable_setlocale();  // numbers stay in the C locale
        bool result = gtk_init_check(nullptr, nullptr);
        std::setlocale(LC_NUMERIC, "C");
        return result;
    }();
    return ok;
}

int PlatformRunSetupDialog(const std::vector<std::string>& entries, int selected,
                           const PlatformPicture* picture) {
    if (!PlatformInitDialogs()) return -1;
    DialogState state;
    state.loop = g_main_loop_new(nullptr, FALSE);
    if (picture && picture->rgb) {
        // The copy keeps the pixbuf independent of the caller's buffer.
        GdkPixbuf* view =
            gdk_pixbuf_new_from_data(picture->rgb, GDK_COLORSPACE_RGB, FALSE, 8, picture->width,
                                     picture->height, picture->width * 3, nullptr, nullptr);
        state.picture = gdk_pixbuf_copy(view);
        g_object_unref(view);
    }

    state.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(state.window), "Pindle setup");
    gtk_window_set_decorated(GTK_WINDOW(state.window), FALSE);
    gtk_window_set_resizable(GTK_WINDOW(state.window), FALSE);
    gtk_window_set_position(GTK_WINDOW(state.window), GTK_WIN_POS_CENTER);
    gtk_window_set_modal(GTK_WINDOW(state.window), TRUE);
    gtk_window_set_keep_above(GTK_WINDOW(state.window), TRUE);

    // Black behind everything, so the band reaches the bottom however tall the controls are.
    GtkCssProvider* css = gtk_css_provider_new();
    gtk_css_provider_load_from_data(css, "window { background-color: #000000; }", -1, nullptr);
    gtk_style_context_add_provider(gtk_widget_get_style_context(state.window),
                                   GTK_STYLE_PROVIDER(css),
                                   GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(css);

    GtkWidget* fixed = gtk_fixed_new();
    GtkWidget* area = gtk_drawing_area_new();
    gtk_widget_set_size_request(area, kWidth, kHeight);
    g_signal_connect(area, "draw", G_CALLBACK(DrawBackground), &state);
    gtk_fixed_put(GTK_FIXED(fixed), area, 0, 0);

    state.combo = gtk_combo_box_text_new();
    for (const std::string& entry : entries)
        gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(state.combo), entry.c_str());
    gtk_widget_set_size_request(state.combo, 219, 21);
    gtk_fixed_put(GTK_FIXED(fixed), state.combo, 10, kControlsY);

    state.start = gtk_button_new_with_label("Start");
    gtk_widget_set_size_request(state.start, 75, 21);
    gtk_fixed_put(GTK_FIXED(fixed), state.start, 235, kControlsY);
    state.quit = gtk_button_new_with_label("Quit");
    gtk_widget_set_size_request(state.quit, 75, 21);
    gtk_fixed_put(GTK_FIXED(fixed), state.quit, 313, kControlsY);

    gtk_container_add(GTK_CONTAINER(state.window), fixed);
    g_signal_connect(state.combo, "changed", G_CALLBACK(OnChanged), &state);
    g_signal_connect(state.start, "clicked", G_CALLBACK(OnStart), &state);
    g_signal_connect(state.quit, "clicked", G_CALLBACK(OnQuit), &state);
    g_signal_connect(state.window, "delete-event", G_CALLBACK(OnDelete), &state);
    g_signal_connect(state.window, "key-press-event", G_CALLBACK(OnKeyPress), nullptr);
    g_signal_connect(fixed, "focus", G_CALLBACK(OnFocus), &state);
    gtk_combo_box_set_active(GTK_COMBO_BOX(state.combo), selected);
    gtk_widget_set_sensitive(state.start, selected >= 0);

    guint timer = g_timeout_add(100, CheckQuitSignal, &state);
    gtk_widget_show_all(state.window);
    // The first tab stop has the focus when the dialog opens, so Space starts the show. A
    // disabled "Start" can't take it; the window gives it to the next stop, "Quit".
    gtk_widget_grab_focus(state.start);
    gtk_window_present(GTK_WINDOW(state.window));
    g_main_loop_run(state.loop);

    g_source_remove(timer);
    gtk_widget_destroy(state.window);
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    if (state.picture) g_object_unref(state.picture);
    g_main_loop_unref(state.loop);
    return state.result;
}
