#include "app/launcher/LauncherModule.h"

#include <gtk/gtk.h>

#include <array>
#include <cmath>
#include <string>

#include "app/LaunchSettings.h"
#include "app/launcher/LauncherContents.h"

namespace {

constexpr const char* kTitleLine = "Pulsar \u00b7 a realtime show \u00b7 2026";
constexpr const char* kCreditsLine = "made by the Pulsar team";
constexpr const char* kSeparatorLine = "____________________________";

// Positions and sizes in dialog units: a quarter of the font's average character width across,
// an eighth of its height down, so the layout keeps its proportions at any font size.
struct Place {
  int x, y, width, height;
};
constexpr int kDialogWidth = 141;
constexpr int kDialogHeight = 115;
constexpr Place kDemoButton{7, 96, 59, 12};
constexpr Place kDontButton{74, 96, 59, 12};
constexpr Place kResolutionList{7, 78, 59, 12};  // the closed drop-down; its list opens below
constexpr Place kVsyncBox{75, 67, 38, 10};
constexpr Place kFullScreenBox{75, 81, 47, 10};
constexpr Place kResolutionLabel{7, 67, 36, 8};
constexpr Place kTitle{7, 7, 126, 8};
constexpr Place kSeparator{14, 29, 113, 8};
constexpr Place kAdapterLine{7, 53, 126, 8};
constexpr Place kOutputLine{7, 42, 126, 8};
constexpr Place kCredits{7, 20, 126, 8};

// Flat controls and a thin border, as compact as the dialog-unit layout needs.
constexpr const char* kStyle = R"(
#pulsar-launcher { border: 1px solid #5c6370; background-color: #f4f4f2; }
#pulsar-launcher label { padding: 0; }
#pulsar-launcher .title { font-weight: bold; }
#pulsar-launcher .dim { color: #6a6f78; }
#pulsar-launcher button {
  min-height: 0; min-width: 0; padding: 0 6px; border-radius: 2px;
  border: 1px solid #8b919b; background-image: none; background-color: #fbfbfa; box-shadow: none;
}
#pulsar-launcher button:hover { background-color: #e8eef8; }
#pulsar-launcher button:focus { border-color: #3465a4; }
#pulsar-launcher button.default { border: 2px solid #3465a4; }
#pulsar-launcher checkbutton { min-height: 0; padding: 0; }
)";

struct Launcher {
  LaunchSettings* settings = nullptr;
  GtkWidget* window = nullptr;
  GtkWidget* demo = nullptr;
  GtkWidget* dont = nullptr;
  GtkWidget* resolutions = nullptr;
  GtkWidget* vsync = nullptr;
  GtkWidget* fullScreen = nullptr;
};

struct DialogUnits {
  double x = 1.0;
  double y = 1.0;
};

DialogUnits MeasureDialogUnits(GtkWidget* widget) {
  PangoLayout* layout = gtk_widget_create_pango_layout(widget, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  int width = 0;
  int height = 0;
  pango_layout_get_pixel_size(layout, &width, &height);
  g_object_unref(layout);
  const int averageWidth = (width / 26 + 1) / 2;
  return {averageWidth / 4.0, height / 8.0};
}

int Pixels(int units, double scale) { return static_cast<int>(std::lround(units * scale)); }

void Put(GtkFixed* fixed, GtkWidget* widget, const Place& place, const DialogUnits& units) {
  gtk_widget_set_size_request(widget, Pixels(place.width, units.x), Pixels(place.height, units.y));
  gtk_fixed_put(fixed, widget, Pixels(place.x, units.x), Pixels(place.y, units.y));
}

GtkWidget* Label(const char* text, float xalign, const char* styleClass = nullptr) {
  GtkWidget* label = gtk_label_new(text);
  gtk_label_set_xalign(GTK_LABEL(label), xalign);
  gtk_label_set_single_line_mode(GTK_LABEL(label), TRUE);
  if (styleClass != nullptr) gtk_style_context_add_class(gtk_widget_get_style_context(label), styleClass);
  return label;
}

// A tooltip only where the line was cut short.
gboolean OnMachineLabelTooltip(GtkWidget* widget, gint, gint, gboolean, GtkTooltip* tooltip, gpointer) {
  GtkLabel* label = GTK_LABEL(widget);
  if (!pango_layout_is_ellipsized(gtk_label_get_layout(label))) return FALSE;
  gtk_tooltip_set_text(tooltip, gtk_label_get_text(label));
  return TRUE;
}

// The machine's own names can be long: they end in an ellipsis instead of widening the dialog,
// and the tooltip has them whole.
GtkWidget* MachineLabel(const std::string& text) {
  GtkWidget* label = Label(text.c_str(), 0.0f);
  gtk_label_set_ellipsize(GTK_LABEL(label), PANGO_ELLIPSIZE_END);
  gtk_widget_set_has_tooltip(label, TRUE);
  g_signal_connect(label, "query-tooltip", G_CALLBACK(OnMachineLabelTooltip), nullptr);
  return label;
}

void Finish(Launcher* launcher, bool start) {
  launcher->settings->start = start;
  gtk_main_quit();
}

void OnDemo(GtkButton*, gpointer data) { Finish(static_cast<Launcher*>(data), true); }
void OnDont(GtkButton*, gpointer data) { Finish(static_cast<Launcher*>(data), false); }

// Only list selections count.
void OnResolutionChanged(GtkComboBox* combo, gpointer data) {
  const int active = gtk_combo_box_get_active(combo);
  if (active >= 0) static_cast<Launcher*>(data)->settings->selectedIndex = active;
}

void OnVsyncToggled(GtkToggleButton* box, gpointer data) {
  static_cast<Launcher*>(data)->settings->vsync = gtk_toggle_button_get_active(box) != FALSE;
}

void OnFullScreenToggled(GtkToggleButton* box, gpointer data) {
  static_cast<Launcher*>(data)->settings->fullScreen = gtk_toggle_button_get_active(box) != FALSE;
}

// Closing the window another way (a window manager's close) is declining.
gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
  Finish(static_cast<Launcher*>(data), false);
  return TRUE;
}

// Keys as a dialog handles them: Escape declines, Enter presses the focused button or else the
// default one ("Demo!"), Tab walks the controls in the order of the dialog's template.
gboolean OnKeyPress(GtkWidget* window, GdkEventKey* event, gpointer data) {
  auto* launcher = static_cast<Launcher*>(data);
  GtkWidget* focus = gtk_window_get_focus(GTK_WINDOW(window));
  switch (event->keyval) {
    case GDK_KEY_Escape:
      Finish(launcher, false);
      return TRUE;
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
      Finish(launcher, focus != launcher->dont);
      return TRUE;
    case GDK_KEY_Tab:
    case GDK_KEY_KP_Tab:
    case GDK_KEY_ISO_Left_Tab: {
      const std::array<GtkWidget*, 5> order{launcher->demo, launcher->dont, launcher->resolutions, launcher->vsync,
                                            launcher->fullScreen};
      size_t current = 0;
      for (size_t i = 0; i < order.size(); ++i) {
        if (focus != nullptr && (focus == order[i] || gtk_widget_is_ancestor(focus, order[i]))) current = i;
      }
      const bool backwards = event->keyval == GDK_KEY_ISO_Left_Tab || (event->state & GDK_SHIFT_MASK) != 0;
      const size_t next = (current + (backwards ? order.size() - 1 : 1)) % order.size();
      gtk_widget_grab_focus(order[next]);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

void ApplyStyle() {
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, kStyle, -1, nullptr);
  gtk_style_context_add_provider_for_screen(gdk_screen_get_default(), GTK_STYLE_PROVIDER(provider),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(provider);
}

void Build(Launcher* launcher, const LauncherContents& contents) {
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  launcher->window = window;
  gtk_widget_set_name(window, "pulsar-launcher");
  gtk_window_set_title(GTK_WINDOW(window), "Pulsar");
  gtk_window_set_decorated(GTK_WINDOW(window), FALSE);
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  gtk_window_set_type_hint(GTK_WINDOW(window), GDK_WINDOW_TYPE_HINT_DIALOG);
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);

  GtkWidget* fixed = gtk_fixed_new();
  gtk_container_add(GTK_CONTAINER(window), fixed);
  const DialogUnits units = MeasureDialogUnits(window);
  gtk_widget_set_size_request(fixed, Pixels(kDialogWidth, units.x), Pixels(kDialogHeight, units.y));
  GtkFixed* place = GTK_FIXED(fixed);

  launcher->demo = gtk_button_new_with_label("Demo!");
  launcher->dont = gtk_button_new_with_label("Don't...");
  launcher->resolutions = gtk_combo_box_text_new();
  launcher->vsync = gtk_check_button_new_with_label("v-sync");
  launcher->fullScreen = gtk_check_button_new_with_label("fullscreen");
  Put(place, launcher->demo, kDemoButton, units);
  Put(place, launcher->dont, kDontButton, units);
  Put(place, launcher->resolutions, kResolutionList, units);
  Put(place, launcher->vsync, kVsyncBox, units);
  Put(place, launcher->fullScreen, kFullScreenBox, units);
  Put(place, Label("resolution:", 0.0f), kResolutionLabel, units);
  Put(place, Label(kTitleLine, 0.5f, "title"), kTitle, units);
  Put(place, Label(kSeparatorLine, 0.0f, "dim"), kSeparator, units);
  Put(place, MachineLabel(contents.adapterLine), kAdapterLine, units);
  Put(place, MachineLabel(contents.outputLine), kOutputLine, units);
  Put(place, Label(kCreditsLine, 0.5f, "dim"), kCredits, units);

  for (const std::string& text : contents.resolutions) {
    gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(launcher->resolutions), text.c_str());
  }
  gtk_combo_box_set_active(GTK_COMBO_BOX(launcher->resolutions), contents.selection);
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(launcher->vsync), contents.vsync);
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(launcher->fullScreen), contents.fullScreen);

  gtk_widget_set_can_default(launcher->demo, TRUE);
  gtk_window_set_default(GTK_WINDOW(window), launcher->demo);
  gtk_window_set_focus(GTK_WINDOW(window), launcher->demo);

  // Connected after the initial state is set, so only the user's changes reach the settings.
  g_signal_connect(launcher->demo, "clicked", G_CALLBACK(OnDemo), launcher);
  g_signal_connect(launcher->dont, "clicked", G_CALLBACK(OnDont), launcher);
  g_signal_connect(launcher->resolutions, "changed", G_CALLBACK(OnResolutionChanged), launcher);
  g_signal_connect(launcher->vsync, "toggled", G_CALLBACK(OnVsyncToggled), launcher);
  g_signal_connect(launcher->fullScreen, "toggled", G_CALLBACK(OnFullScreenToggled), launcher);
  g_signal_connect(window, "key-press-event", G_CALLBACK(OnKeyPress), launcher);
  g_signal_connect(window, "delete-event", G_CALLBACK(OnDelete), launcher);
}

}  // namespace

bool PulsarLauncherOpenDisplay() {
  // The show reads numbers from text files; the user's locale must not change their decimal point.
  gtk_disable_setlocale();
  if (!gtk_init_check(nullptr, nullptr)) return false;
  ApplyStyle();
  return true;
}

void PulsarLauncherRun(const LauncherContents* contents, LaunchSettings* settings) {
  Launcher launcher;
  launcher.settings = settings;
  Build(&launcher, *contents);
  gtk_widget_show_all(launcher.window);
  gtk_window_present(GTK_WINDOW(launcher.window));
  gtk_main();

  // Gone from the screen before the show's window opens.
  gtk_widget_destroy(launcher.window);
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
  gdk_display_flush(gdk_display_get_default());
}
