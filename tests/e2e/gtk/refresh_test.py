"""The Linux program's main path, as a user does it: an address and an interval of 0.3 s typed
in, a double click on the start button, reloads and a changing caption, the page drawn in the
view, the stop button, Esc."""

import re
import statistics
import time

import e2e_support as e2e

REFRESH_SECONDS = 3.0
# The title followed by the decimal digits of the number, without leading zeros.
CAPTION_WITH_NUMBER = re.compile(r"Pelmora(0|[1-9][0-9]{0,4})")


class RefreshTest(e2e.ScreenTestCase):
    def test_double_click_reloads_until_stop_and_escape_ends_with_zero(self):
        program, window, origin = self.start_pelmora()
        desktop, pages = self.desktop, self.pages

        desktop.replace_text(*self.on_screen(origin, e2e.ADDRESS_BOX), pages.page_address)
        desktop.replace_text(*self.on_screen(origin, e2e.INTERVAL_BOX), "0.3")
        double_click_time = time.monotonic()
        desktop.double_click(*self.on_screen(origin, e2e.START_BUTTON))

        # The web process of a first page may take seconds to start on a busy machine: the
        # rhythm is measured from the first request on.
        first = e2e.wait_until(lambda: pages.request_times(since=double_click_time), timeout=20)
        self.assertTrue(first, "no request for the page within 20 s of the double click")
        first_request = first[0]

        # While it refreshes, the caption is the title followed by a number from 0 to 32767,
        # a new one at (nearly) every tick.
        captions = set()
        while time.monotonic() < first_request + REFRESH_SECONDS:
            captions.add(desktop.window_name(window))
            time.sleep(0.1)
        numbered = {c for c in captions if CAPTION_WITH_NUMBER.fullmatch(c)}
        self.assertGreaterEqual(len(numbered), 2, "captions seen: %s" % sorted(captions))
        for caption in numbered:
            self.assertLessEqual(int(CAPTION_WITH_NUMBER.fullmatch(caption).group(1)), 32767)

        # The two clicks load the page (on a cold start the second navigation may overtake the
        # first before it is sent), then the reload timer about every 0.3 s. The machine may be
        # busy, so the margins are wide; a wrong period (3 ms, 3 s) or ticks bursting after a
        # stall still fall outside them.
        requests = pages.request_times(since=double_click_time)
        shown = "requests at %s" % ["%.3f" % (t - first_request) for t in requests]
        self.assertGreaterEqual(len(requests), 1 + 6, shown)
        self.assertLessEqual(len(requests), 2 + 15, shown)
        reload_gaps = [b - a for a, b in zip(requests[2:], requests[3:])]
        self.assertTrue(0.2 <= statistics.median(reload_gaps) <= 0.5, shown)

        desktop.click(*self.on_screen(origin, e2e.STOP_BUTTON))
        plain = e2e.wait_until(lambda: desktop.window_name(window) == "Pelmora", timeout=2)
        self.assertTrue(plain, "caption after stop: %r" % desktop.window_name(window))
        # A navigation under way when the button was clicked may still arrive; none after it.
        time.sleep(0.8)
        settled = time.monotonic()
        time.sleep(1.5)
        self.assertEqual(pages.request_times(since=settled), [], "reloads after stop")
        self.assertEqual(desktop.window_name(window), "Pelmora")

        # The page stays: its own colour inside the view, the window's own outside it.
        shot = desktop.screenshot(self.artifact("screen.png"))
        print("\nscreenshot of the refreshed page: %s" % shot)
        inside = desktop.pixel(shot, *self.on_screen(origin, e2e.INSIDE_PAGE_VIEW))
        outside = desktop.pixel(shot, *self.on_screen(origin, e2e.BELOW_PAGE_VIEW))
        self.assertTrue(e2e.colour_close(inside, e2e.PAGE_COLOUR), "inside the view: %s" % (inside,))
        self.assertFalse(e2e.colour_close(outside, e2e.PAGE_COLOUR), "below the view: %s" % (outside,))

        self.close_with_escape(program, window)


if __name__ == "__main__":
    e2e.run_tests()
