/* A Weston module for scripts/check-package.sh: on SIGUSR1 the compositor
 * asks every window to close (xdg_toplevel.close), as a click on a window's
 * close button does. Weston's headless back end has no input device, so this
 * is how the check closes the program's window. */
#include <signal.h>
#include <libweston/libweston.h>
#include <libweston-desktop/libweston-desktop.h>

static int close_windows(int signal_number, void *data)
{
	struct weston_compositor *compositor = data;
	struct weston_view *view;
	(void)signal_number;
	wl_list_for_each(view, &compositor->view_list, link)
		if (weston_surface_is_desktop_surface(view->surface))
			weston_desktop_surface_close(weston_surface_get_desktop_surface(view->surface));
	return 0;
}

WL_EXPORT int wet_module_init(struct weston_compositor *compositor, int *argc, char *argv[])
{
	(void)argc;
	(void)argv;
	return wl_event_loop_add_signal(wl_display_get_event_loop(compositor->wl_display), SIGUSR1,
					close_windows, compositor) ? 0 : -1;
}
