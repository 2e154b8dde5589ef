// Asks an X window to close the way a window manager's close button does: a WM_DELETE_WINDOW
// message of the WM_PROTOCOLS kind, which the toolkit turns into its close event.
//
//   pulsar-close-window WINDOW_ID
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: pulsar-close-window WINDOW_ID\n");
    return 2;
  }
  Display* display = XOpenDisplay(NULL);
  if (display == NULL) {
    fprintf(stderr, "pulsar-close-window: no display\n");
    return 1;
  }
  const Window window = (Window)strtoul(argv[1], NULL, 0);
  XEvent event = {0};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
  event.xclient.data.l[1] = CurrentTime;
  const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
  XSync(display, False);
  XCloseDisplay(display);
  if (!sent) {
    fprintf(stderr, "pulsar-close-window: could not send to window %s\n", argv[1]);
    return 1;
  }
  return 0;
}
