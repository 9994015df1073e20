"""What real clicks on the start button do in the Linux program, counted at the page server:
one click loads the page once; a double click delivers Clicked, DoubleClick, Clicked, so it
loads the page exactly twice, and with the interval box empty (period 0) starts no timer."""

import time

import e2e_support as e2e

# Longer than the double-click time, so that separate clicks stay separate.
QUIET_SECONDS = 1.5


class DoubleClickTest(e2e.ScreenTestCase):
    def wait_for_requests(self, count, since):
        arrived = e2e.wait_until(lambda: len(self.pages.request_times(since)) >= count, timeout=20)
        self.assertTrue(arrived, "%d of %d requests within 20 s" % (len(self.pages.request_times(since)), count))
        # Anything more that this action causes arrives within this time.
        time.sleep(QUIET_SECONDS)
        return self.pages.request_times(since)

    def test_click_loads_once_and_double_click_twice_without_a_timer(self):
        program, window, origin = self.start_pelmora()
        desktop = self.desktop
        start_button = self.on_screen(origin, e2e.START_BUTTON)

        desktop.replace_text(*self.on_screen(origin, e2e.ADDRESS_BOX), self.pages.page_address)
        desktop.replace_text(*self.on_screen(origin, e2e.INTERVAL_BOX), "")

        # The single click also gets the web process going, so that the two navigations of
        # the double click are both sent rather than the second overtaking the first.
        before_click = time.monotonic()
        desktop.click(*start_button)
        self.assertEqual(len(self.wait_for_requests(1, since=before_click)), 1)

        before_double_click = time.monotonic()
        desktop.double_click(*start_button)
        requests = self.wait_for_requests(2, since=before_double_click)
        self.assertEqual(len(requests), 2, "requests at %s" % ["%.3f" % (t - before_double_click) for t in requests])

        # Period 0: neither timer runs, so nothing reloads and the caption keeps the title.
        time.sleep(QUIET_SECONDS)
        self.assertEqual(len(self.pages.request_times(since=before_double_click)), 2)
        self.assertEqual(desktop.window_name(window), "Pelmora")

        self.close_with_escape(program, window)


if __name__ == "__main__":
    e2e.run_tests()
