"""The Linux program's failure path: a start-up that cannot go on shows the error box (caption
错误, an OK button) and no window of the program; OK ends the process with exit code -1, which
Linux reports as 255. The refresher is run here with broken start-up data (the shipped program
cannot be made to fail from outside): its window data cut in half, or a start-up window it
does not hold."""

import e2e_support as e2e

ERROR_CAPTION = "错误"
EXIT_AFTER_ERROR = 255  # -1 in the 8 bits of a Linux exit status


class ErrorBoxTest(e2e.ScreenTestCase):
    def test_error_box_then_ok_ends_with_minus_one(self):
        if not e2e.OPTIONS.failing_start:
            self.fail("--failing-start names no program")
        for mode in ("broken-block", "missing-window"):
            with self.subTest(mode=mode):
                program = self.start([e2e.OPTIONS.failing_start, mode], log_name="%s.log" % mode)
                box = self.desktop.wait_for_window("^%s$" % ERROR_CAPTION, timeout=20)
                self.assertEqual(self.desktop.find_windows("^Pelmora"), [], "a window of the program is up")

                # The box holds the process: it does not end on its own.
                self.assertIsNone(program.exit_code(timeout=1.0))
                shot = self.desktop.screenshot(self.artifact("%s.png" % mode))
                print("\nscreenshot of the error box (%s): %s" % (mode, shot))

                self.desktop.focus(box)
                self.desktop.key("Return")
                code = program.exit_code(timeout=10)
                self.assertEqual(code, EXIT_AFTER_ERROR, program.output())
                self.assertEqual(self.desktop.find_windows("^%s$" % ERROR_CAPTION), [])


if __name__ == "__main__":
    e2e.run_tests()
