// The drawing surfaces behind WebDrawing.cpp: off-screen canvases at the screen's pixel
// density, colours, text measuring for WebTextMetrics.cpp, and presenting a finished
// frame on the page's canvas.

(function (web) {
    'use strict';

    web.colour = function (argb) {
        let css = web.colours.get(argb);
        if (css === undefined) {
            const a = (argb >>> 24) & 255;
            const r = (argb >>> 16) & 255;
            const g = (argb >>> 8) & 255;
            const b = argb & 255;
            css = 'rgba(' + r + ',' + g + ',' + b + ',' + (a / 255) + ')';
            web.colours.set(argb, css);
        }
        return css;
    };

    web.fontOf = function (pixels) {
        return pixels + 'px ' + web.fontFamily;
    };

    web.makeSurface = function (width, height) {
        const canvas = document.createElement('canvas');
        canvas.width = Math.round(width * web.dpr);
        canvas.height = Math.round(height * web.dpr);
        const context = canvas.getContext('2d', { alpha: false });
        web.surfaces.push({ canvas: canvas, context: context, width: width, height: height });
        return web.surfaces.length - 1;
    };

    // A canvas given a new pixel density keeps its picture, stretched, until it is
    // next drawn.
    function rescale(canvas, width, height) {
        const copy = document.createElement('canvas');
        copy.width = canvas.width;
        copy.height = canvas.height;
        copy.getContext('2d').drawImage(canvas, 0, 0);
        canvas.width = Math.round(width * web.dpr);
        canvas.height = Math.round(height * web.dpr);
        canvas.getContext('2d').drawImage(copy, 0, 0, canvas.width, canvas.height);
    }

    // The browser's zoom, a move to another screen or a new fit of the picture (a turned
    // device, a resized window) changes how many device pixels a picture pixel takes;
    // every canvas follows so the text stays sharp.
    web.checkScale = function () {
        if (web.screenRatio() !== web.fittedRatio) {
            web.fit();
        }
        const dpr = web.wantedDpr;
        if (!dpr || dpr === web.dpr) {
            return;
        }
        web.dpr = dpr;
        // The stretched picture is soft: the program draws the next frame anew.
        web.pictureLost = true;
        web.surfaces.forEach(function (surface) {
            if (surface) {
                rescale(surface.canvas, surface.width, surface.height);
            }
        });
        if (web.canvas) {
            rescale(web.canvas, 800, 600);
        }
    };

    web.begin = function (id) {
        web.checkScale();
        const context = web.surfaces[id].context;
        context.setTransform(web.dpr, 0, 0, web.dpr, 0, 0);
        context.globalAlpha = 1;
        context.imageSmoothingEnabled = true;
        context.imageSmoothingQuality = 'high';
        context.textBaseline = 'alphabetic';
        context.textAlign = 'left';
        return context;
    };

    web.clear = function (id) {
        const surface = web.surfaces[id];
        const context = web.begin(id);
        context.fillStyle = '#ffffff';
        context.fillRect(0, 0, surface.width, surface.height);
        context.fillStyle = '#000000';
        context.fillRect(0, 0, surface.width, 1);
        context.fillRect(0, surface.height - 1, surface.width, 1);
        context.fillRect(0, 0, 1, surface.height);
        context.fillRect(surface.width - 1, 0, 1, surface.height);
    };

    web.advance = function (pixels, text) {
        const key = pixels + '\u0000' + text;
        let width = web.widths.get(key);
        if (width === undefined) {
            const context = web.context || web.surfaces[1].context;
            context.font = web.fontOf(pixels);
            width = context.measureText(text).width;
            if (web.widths.size > 4000) {
                web.widths.clear();
            }
            web.widths.set(key, width);
        }
        return width;
    };

    web.present = function (id) {
        web.checkScale();
        const surface = web.surfaces[id];
        const context = web.context;
        context.setTransform(1, 0, 0, 1, 0, 0);
        context.drawImage(surface.canvas, 0, 0);
        web.frameCount += 1;
        Module.frameCount = web.frameCount;
        if (web.frameCount === 1) {
            web.fetchCuesAsked();
            if (typeof Module.onFirstFrame === 'function') {
                Module.onFirstFrame();
            }
        }
    };
})(Module.web);
