// The menu bar and the tool bar of a window, drawn from the host's bar: bands in order, the
// tools of each band with their caption, enabled and checked state, and separators.
import { h } from './api.js';

const BAND_CAPTIONS = {
  mnuFile: '文件', mnuEdit: '编辑', mnuView: '查看', mnuRelate: '关联', mnuOption: '选项', mnuHelp: '帮助',
};
const TOOLBAR = 'BandToolBar';

// Separators at the ends of a band or next to another separator say nothing.
function tidy(tools) {
  const out = [];
  for (const t of tools) {
    if (t.separator && (!out.length || out[out.length - 1].separator)) continue;
    out.push(t);
  }
  while (out.length && out[out.length - 1].separator) out.pop();
  return out;
}

let openMenu = null;
function closeMenus() {
  if (openMenu) openMenu.classList.remove('open');
  openMenu = null;
}
document.addEventListener('mousedown', (e) => {
  if (openMenu && !openMenu.contains(e.target)) closeMenus();
});

export function renderBar(menubar, toolbar, bands, onTool) {
  const click = (key) => () => {
    closeMenus();
    onTool(key);
  };
  const menus = [];
  for (const band of bands) {
    if (band.name === TOOLBAR) continue;
    const tools = tidy(band.tools);
    if (!tools.some((t) => !t.separator)) continue;
    const items = tools.map((t) => (t.separator
      ? h('li.separator', { role: 'separator' })
      : h('li', null, h('button.menu-item', {
        type: 'button', disabled: !t.enabled, title: t.tip || undefined, dataset: { tool: t.key },
        'aria-checked': t.checked ? 'true' : undefined, onclick: click(t.key),
      }, h('span.check', null, t.checked ? '✓' : ''), t.caption))));
    const menu = h('div.menu', { dataset: { band: band.name } });
    const opener = h('button.menu-title', { type: 'button' }, BAND_CAPTIONS[band.name] || band.name);
    opener.addEventListener('click', () => {
      const wasOpen = openMenu === menu;
      closeMenus();
      if (!wasOpen) {
        menu.classList.add('open');
        openMenu = menu;
      }
    });
    opener.addEventListener('mouseenter', () => {
      if (openMenu && openMenu !== menu) {
        closeMenus();
        menu.classList.add('open');
        openMenu = menu;
      }
    });
    menu.append(opener, h('ul.menu-items', null, items));
    menus.push(menu);
  }
  menubar.replaceChildren(...menus);

  const band = bands.find((b) => b.name === TOOLBAR);
  const buttons = band ? tidy(band.tools).map((t) => (t.separator
    ? h('span.tool-separator')
    : h('button.tool', {
      type: 'button', disabled: !t.enabled, title: t.tip || t.caption, dataset: { tool: t.key },
      'aria-pressed': t.checked ? 'true' : undefined, onclick: click(t.key),
    }, t.caption))) : [];
  toolbar.replaceChildren(...buttons);
}
