"""Asks a window to close the way a window manager does when its close box is
clicked: a WM_PROTOCOLS client message carrying WM_DELETE_WINDOW."""

from Xlib import X, display
from Xlib.protocol import event


def request_close(display_name, window_id):
    """Sends the close request; False when the window does not take WM_DELETE_WINDOW."""
    connection = display.Display(display_name)
    try:
        window = connection.create_resource_object("window", window_id)
        protocols = connection.intern_atom("WM_PROTOCOLS")
        delete_window = connection.intern_atom("WM_DELETE_WINDOW")
        if delete_window not in (window.get_wm_protocols() or []):
            return False
        message = event.ClientMessage(window=window, client_type=protocols,
                                      data=(32, [delete_window, X.CurrentTime, 0, 0, 0]))
        window.send_event(message, event_mask=X.NoEventMask)
        # A round trip, not just a flush: it makes sure the server has taken the request
        # before the connection closes (with a flush alone it was now and then lost).
        connection.sync()
        return True
    finally:
        connection.close()
