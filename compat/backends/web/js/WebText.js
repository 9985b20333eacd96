// Text on the browser's canvas 2D (WebTextCanvas.cpp): a line drawn in white, glyph by glyph at
// the pen positions laid out in C++, and read back as one alpha byte per pixel.
mergeInto(LibraryManager.library, {
  quibbo_text_draw: function (font, shear, width, height, baseline, codes, penX, count,
                              originX, rules, out) {
    if (!Module.quibboTextCanvas)
      Module.quibboTextCanvas = typeof OffscreenCanvas !== 'undefined'
        ? new OffscreenCanvas(width, height) : document.createElement('canvas');
    const canvas = Module.quibboTextCanvas;
    // Setting the size clears the canvas and its context's state.
    canvas.width = width;
    canvas.height = height;
    const context = canvas.getContext('2d', {willReadFrequently: true});
    context.font = UTF8ToString(font);
    context.fillStyle = '#fff';
    context.textBaseline = 'alphabetic';
    // Slanted about the baseline: x' = x + shear * (baseline - y).
    context.setTransform(1, 0, -shear, 1, shear * baseline, 0);
    for (let i = 0; i < count; ++i)
      context.fillText(String.fromCodePoint(HEAPU32[(codes >> 2) + i]),
                       originX + HEAP32[(penX >> 2) + i], baseline);
    context.setTransform(1, 0, 0, 1, 0, 0);
    // rules: [lineEnd, top, rows, top, rows], the underline and the strike-out.
    const lineEnd = HEAP32[rules >> 2];
    for (let r = 0; r < 2; ++r) {
      const rows = HEAP32[(rules >> 2) + 2 + 2 * r];
      if (rows > 0)
        context.fillRect(originX, HEAP32[(rules >> 2) + 1 + 2 * r], lineEnd - originX, rows);
    }
    const pixels = context.getImageData(0, 0, width, height).data;
    for (let p = 0, n = width * height; p < n; ++p)
      HEAPU8[out + p] = pixels[4 * p + 3];
  },
});
