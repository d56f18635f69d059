// The frame benchmark's entry for the page (bench/WebFrameBench.cpp does the
// measuring).

(function () {
    'use strict';

    // The frame benchmark: milliseconds of update + draw per frame, measured in the page
    // on an off-screen back buffer while the program itself sleeps between frames.
    // Each entry is the mean of one batch of `batchFrames` frames.
    Module.benchmarkFrames = function (batches, batchFrames) {
        const count = Math.max(1, batches | 0);
        const size = Math.max(1, (batchFrames | 0) || 10);
        const fresh = _malloc(count * 8);
        const long = _malloc(count * 8);
        try {
            if (!_bricketing_benchmark(count, size, fresh, long)) {
                throw new Error('the long working-out could not be set up');
            }
            return {
                freshMs: Array.from(HEAPF64.subarray(fresh >> 3, (fresh >> 3) + count)),
                longMs: Array.from(HEAPF64.subarray(long >> 3, (long >> 3) + count)),
            };
        } finally {
            _free(fresh);
            _free(long);
        }
    };
})();
