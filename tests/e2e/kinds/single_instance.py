import glob

from fixture import expect_exit, wait_for


def single_instance(d):  # 20 rounds: a copy killed, then two at once; one runs, the next shows it
    d.env["QT_QPA_PLATFORM"] = "offscreen"
    running = d.launch()
    for round in range(20):
        wait_for("the guard's socket", lambda: glob.glob(d.path("runtime", "*.socket")), running)
        running.kill()
        running.wait()
        pair = [d.launch(f"{round}a"), d.launch(f"{round}b")]
        loser = wait_for("one of two copies ending", lambda: next(
            (p for p in pair if p.poll() is not None), None))
        assert not loser.returncode, f"round {round}: the second copy's code {loser.returncode}"
        running = pair[1 - pair.index(loser)]
        expect_exit(d.launch(f"{round}c"), f"a launch asking round {round}'s copy to show", 3)
        assert running.poll() is None, f"round {round}: no copy running"
