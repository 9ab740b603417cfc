// The art's decoder: turns a picture file's bytes into RGBA pixels, not premultiplied, with the browser's own
// decoder. Run as a worker (host/web/webhost.js starts it), so that decoding never holds the page's main
// thread; the page's script also loads it where workers cannot draw, and decodes on its own thread with it.
// A job is {id, bytes, type}; the answer {id, width, height, pixels} (pixels an ArrayBuffer, moved to the
// page), or {id, width: 0, height: 0, pixels: null} for a file the browser cannot decode.
'use strict';

// Decodes bytes of a MIME type, drawing into a canvas that makeCanvas(width, height) gives.
// NOTE: drawn once at its own size with no colour conversion, so every pixel is the file's; a 2D canvas may
// keep its pixels premultiplied, which changes a part-transparent pixel's colour by a step at most, no more
// than the game's own premultiplying of it does.
function quorlixDecodePicture(bytes, type, makeCanvas) {
  var options = {premultiplyAlpha: 'none', colorSpaceConversion: 'none'};
  return createImageBitmap(new Blob([bytes], {type: type}), options).then(function(bitmap) {
    var width = bitmap.width, height = bitmap.height;
    var context = makeCanvas(width, height).getContext('2d', {willReadFrequently: true});
    context.drawImage(bitmap, 0, 0);
    if (bitmap.close) bitmap.close();
    return {width: width, height: height, pixels: context.getImageData(0, 0, width, height).data.buffer};
  });
}

if (typeof WorkerGlobalScope !== 'undefined' && self instanceof WorkerGlobalScope) {
  self.onmessage = function(event) {
    var job = event.data;
    quorlixDecodePicture(job.bytes, job.type, function(width, height) {
      return new OffscreenCanvas(width, height);
    }).then(function(picture) {
      self.postMessage({id: job.id, width: picture.width, height: picture.height, pixels: picture.pixels},
                       [picture.pixels]);
    }, function() {
      self.postMessage({id: job.id, width: 0, height: 0, pixels: null});
    });
  };
}
