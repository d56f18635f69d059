// The pictures: PNG files from the in-memory file system decoded once (with the 2x
// picture beside them on sharp screens) and drawn onto a surface.

(function (web) {
    'use strict';

    function readPicture(path) {
        try {
            // Only a file is read: a device under the name (the file system has
            // /dev/random) would give endless or random bytes.
            if (!FS.isFile(FS.stat(path).mode)) {
                return Promise.resolve(null);
            }
            const bytes = FS.readFile(path);
            return createImageBitmap(new Blob([bytes], { type: 'image/png' }));
        } catch (e) {
            return Promise.resolve(null);  // missing: the picture is 0 x 0
        }
    }

    function twiceAsLarge(path) {
        const slash = path.lastIndexOf('/');
        return path.substring(0, slash + 1) + '2x/' + path.substring(slash + 1);
    }

    web.cachedImage = function (path) {
        const id = web.imageByPath.get(path);
        return id === undefined ? -1 : id;
    };

    web.loadImage = async function (path) {
        const cached = web.cachedImage(path);
        if (cached >= 0) {
            return cached;
        }
        let bitmap = null;
        let sharp = null;
        try {
            bitmap = await readPicture(path);
            if (bitmap && web.dpr > 1) {
                sharp = await readPicture(twiceAsLarge(path));
            }
        } catch (e) {
            bitmap = null;  // not a picture the browser can read
        }
        let id = 0;
        if (bitmap) {
            web.images.push({ bitmap: bitmap, sharp: sharp, width: bitmap.width,
                              height: bitmap.height });
            id = web.images.length - 1;
        }
        web.imageByPath.set(path, id);
        return id;
    };

    web.drawImage = function (surface, id, dx, dy, dw, dh, sx, sy, sw, sh) {
        const image = web.images[id];
        if (!image || dw === 0 || dh === 0 || sw <= 0 || sh <= 0) {
            return;
        }
        const context = web.surfaces[surface].context;
        let bitmap = image.bitmap;
        let scale = 1;
        if (image.sharp) {
            bitmap = image.sharp;
            scale = image.sharp.width / image.width;
        }
        context.drawImage(bitmap, sx * scale, sy * scale, sw * scale, sh * scale, dx, dy, dw, dh);
    };
})(Module.web);
